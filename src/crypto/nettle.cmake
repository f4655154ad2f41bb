# Nettle's RC4 and SHA-1, for the decryption of encrypted presentations in
# the API layer (never in the shared library: the exports do not decrypt).
# Where Nettle cannot be linked for the target (a -m32 build on a machine
# without its i386 package), TXTPPT2_DECRYPTION is OFF: encrypted
# presentations then stay "encrypted", and the tests skip their decryption.
find_package(PkgConfig REQUIRED)
pkg_check_modules(NETTLE IMPORTED_TARGET nettle)
set(TXTPPT2_DECRYPTION OFF)
if(NETTLE_FOUND)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_LIBRARIES PkgConfig::NETTLE)
  check_cxx_source_compiles([[
    #include <nettle/sha1.h>
    int main() { sha1_ctx c; sha1_init(&c); return 0; }]] TXTPPT2_NETTLE_LINKS)
  unset(CMAKE_REQUIRED_LIBRARIES)
  if(TXTPPT2_NETTLE_LINKS)
    set(TXTPPT2_DECRYPTION ON)
  endif()
endif()
set(TXTPPT2_DECRYPTION ${TXTPPT2_DECRYPTION} CACHE INTERNAL
    "Whether encrypted presentations can be decrypted")
if(NOT TXTPPT2_DECRYPTION)
  message(STATUS "Nettle cannot be linked: encrypted presentations will not be decrypted")
endif()
