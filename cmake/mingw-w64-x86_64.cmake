# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian's
# gcc-mingw-w64-x86-64 and g++-mingw-w64-x86-64).
#
#   cmake --preset windows         (or -DCMAKE_TOOLCHAIN_FILE=<this file>)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TXTPPT2_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
