# Cross-compiling for 32-bit Windows with MinGW-w64 (Debian's
# gcc-mingw-w64-i686 and g++-mingw-w64-i686): a 32-bit host process can only
# load a 32-bit DLL. The exports stay cdecl and the .def file names them
# undecorated, so the export table reads exactly as the 64-bit DLL's.
#
#   cmake --preset windows-x86     (or -DCMAKE_TOOLCHAIN_FILE=<this file>)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TXTPPT2_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
