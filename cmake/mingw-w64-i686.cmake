# Cross-compiling for 32-bit Windows with MinGW-w64 (Debian's
# gcc-mingw-w64-i686 and g++-mingw-w64-i686), beside
# mingw-w64-x86_64.cmake: a 32-bit host process can only load a 32-bit DLL.
# The exports stay cdecl and the .def file names them undecorated, so the
# export table reads exactly as the 64-bit DLL's.
#
#   cmake --preset windows-x86     (or -DCMAKE_TOOLCHAIN_FILE=<this file>)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(TXTPPT2_MINGW_TRIPLET i686-w64-mingw32)
find_program(CMAKE_C_COMPILER
  NAMES ${TXTPPT2_MINGW_TRIPLET}-gcc-posix ${TXTPPT2_MINGW_TRIPLET}-gcc
  REQUIRED)
find_program(CMAKE_CXX_COMPILER
  NAMES ${TXTPPT2_MINGW_TRIPLET}-g++-posix ${TXTPPT2_MINGW_TRIPLET}-g++
  REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TXTPPT2_MINGW_TRIPLET}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${TXTPPT2_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -O2 for the same reason as the 64-bit build (GCC bug 105329 at -O3).
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING
    "Flags used by the C compiler during release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING
    "Flags used by the C++ compiler during release builds")
