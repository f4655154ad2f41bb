#!/usr/bin/env bash
# Makes sure the Debian packages that building and testing txtppt2 need are
# there. Run as root, it installs what is missing with apt-get; otherwise it
# names what to install and fails.
#
#   scripts/install-deps.sh build   # compiler and CMake only
#   scripts/install-deps.sh test    # and what the test suite uses
#   scripts/install-deps.sh fuzz    # and clang with libFuzzer (fuzz/)
#   scripts/install-deps.sh memcheck  # and valgrind (tests/memcheck/)
#   scripts/install-deps.sh windows # MinGW-w64 and wine64 (Windows build)
#   scripts/install-deps.sh x86     # 32-bit builds: multilib, MinGW-w64 i686
set -euo pipefail

build_packages=(cmake g++ make)
test_packages=(libgtest-dev libbenchmark-dev python3-olefile pkg-config)
fuzz_packages=(clang libclang-rt-14-dev)
memcheck_packages=(valgrind)
windows_packages=(cmake ninja-build googletest binutils-mingw-w64-x86-64
                  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix wine64)
x86_packages=(cmake ninja-build googletest g++-multilib python3-olefile pkg-config
              binutils-mingw-w64-i686 gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix)

case "${1:-test}" in
  build) wanted=("${build_packages[@]}") ;;
  test) wanted=("${build_packages[@]}" "${test_packages[@]}") ;;
  fuzz) wanted=("${build_packages[@]}" "${test_packages[@]}"
                "${fuzz_packages[@]}") ;;
  memcheck) wanted=("${build_packages[@]}" "${test_packages[@]}"
                    "${memcheck_packages[@]}") ;;
  windows) wanted=("${windows_packages[@]}") ;;
  x86) wanted=("${x86_packages[@]}") ;;
  *) echo "usage: $0 build|test|fuzz|memcheck|windows|x86" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "txtppt2 needs these Debian packages: ${missing[*]}" >&2
  echo "install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
