# 32-bit x86 Linux programs from the 64-bit machine's own GCC (Debian's
# gcc-multilib and g++-multilib): every compile and link gets -m32. The
# build still runs its programs directly, so the whole test suite runs at
# 32 bits, where size_t and pointers are 32 bits wide but file offsets and
# the sizes a file declares are not.
#
#   cmake --preset linux-x86      (or -DCMAKE_TOOLCHAIN_FILE=<this file>)
#
# The system's GoogleTest libraries are 64-bit: the preset builds
# GoogleTest from its sources (TXTPPT2_GOOGLETEST_FROM_SOURCE).
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
