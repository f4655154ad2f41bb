# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian's
# gcc-mingw-w64-x86-64 and g++-mingw-w64-x86-64). The posix thread model is
# preferred: with GCC 12 only it gives the tests std::thread and std::mutex.
#
#   cmake --preset windows         (or -DCMAKE_TOOLCHAIN_FILE=<this file>)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TXTPPT2_MINGW_TRIPLET x86_64-w64-mingw32)
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
