# What both MinGW-w64 toolchain files share; each sets
# CMAKE_SYSTEM_PROCESSOR and TXTPPT2_MINGW_TRIPLET and then includes this.
# The posix thread model is preferred: with GCC 12 only it gives the tests
# std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)

find_program(CMAKE_C_COMPILER
  NAMES ${TXTPPT2_MINGW_TRIPLET}-gcc-posix ${TXTPPT2_MINGW_TRIPLET}-gcc
  REQUIRED)
find_program(CMAKE_CXX_COMPILER
  NAMES ${TXTPPT2_MINGW_TRIPLET}-g++-posix ${TXTPPT2_MINGW_TRIPLET}-g++
  REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TXTPPT2_MINGW_TRIPLET}-windres REQUIRED)

# Headers and libraries come from the MinGW-w64 tree only; programs run on
# the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TXTPPT2_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Release builds at -O2: at -O3, MinGW-w64's GCC 12 reports false -Wrestrict
# overlaps inside std::string's operator+ (GCC bug 105329), which
# TXTPPT2_WARNINGS_AS_ERRORS would turn into errors.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING
    "Flags used by the C compiler during release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING
    "Flags used by the C++ compiler during release builds")
