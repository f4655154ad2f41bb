#!/usr/bin/env bash
# Makes sure the Debian packages a command of this project needs are all
# there, before it starts. Run as root, it installs what is missing with
# apt-get (reading the package lists first when they are empty or do not
# know a package); otherwise it prints the command that installs them and
# fails.
#
#   scripts/install-deps.sh build     # scripts/txtppt2.sh: compiler, CMake, make
#   scripts/install-deps.sh test      # scripts/test.sh: everything below but fuzz
#   scripts/install-deps.sh windows   # scripts/test-windows.sh: MinGW-w64, wine64
#   scripts/install-deps.sh x86       # the 32-bit builds
#   scripts/install-deps.sh python    # the Python module and its tests
#   scripts/install-deps.sh fuzz      # clang with libFuzzer (fuzz/)
#   scripts/install-deps.sh package   # scripts/package.sh: debhelper and the
#                                     # packages' build dependencies
#   scripts/install-deps.sh bench     # the benchmarks' peers and tools (bench/)
#
# Several sets may be named at once. The README's Quick start names the
# build set's packages, and debian/control's Build-Depends the package
# set's: keep them in step with these lists.
set -euo pipefail

# Every package the project uses is in one of these lists.
build_packages=(cmake g++ make pkg-config nettle-dev)
test_packages=(libgtest-dev libbenchmark-dev pkg-config libapache-poi-java
               default-jdk-headless)
python_packages=(python3-dev pybind11-dev python3-dask python3-distributed
                 python3-fsspec python3-pytest python3-pandas
                 python3-markdown-it python3-venv)
x86_packages=(g++-multilib gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix
              binutils-mingw-w64-i686)
windows_packages=(cmake ninja-build googletest binutils-mingw-w64-x86-64
                  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix wine64)
fuzz_packages=(clang libclang-rt-14-dev)
# The .deb packages' tools and the tests their build runs; with the build
# and python lists, debian/control's Build-Depends.
package_packages=(build-essential debhelper dh-python dpkg-dev man-db
                  libgtest-dev pkg-config)
# catppt to compare with, LibreOffice Impress to write the benchmark deck,
# and the measuring tools of bench/compare_with_catppt.py and the profiles.
bench_packages=(catdoc libreoffice-impress valgrind time linux-perf)

# The packages of one set, the way the commands use them.
packages_of() {
  case $1 in
    build) echo "${build_packages[@]}" ;;
    test) echo "${build_packages[@]}" "${test_packages[@]}" \
      "${python_packages[@]}" "${x86_packages[@]}" "${windows_packages[@]}" ;;
    windows) echo "${windows_packages[@]}" ;;
    x86) echo "${build_packages[@]}" "${test_packages[@]}" \
      "${x86_packages[@]}" ninja-build googletest ;;
    python) echo "${build_packages[@]}" "${test_packages[@]}" \
      "${python_packages[@]}" ;;
    fuzz) echo "${build_packages[@]}" "${test_packages[@]}" \
      "${fuzz_packages[@]}" ;;
    package) echo "${build_packages[@]}" "${python_packages[@]}" \
      "${package_packages[@]}" ;;
    bench) echo "${build_packages[@]}" "${test_packages[@]}" ninja-build \
      "${bench_packages[@]}" ;;
    *)
      echo "usage: $0 [build|test|windows|x86|python|fuzz|package|bench]..." >&2
      exit 2
      ;;
  esac
}

missing=()
for set in "${@:-test}"; do
  packages=$(packages_of "$set")
  for package in $packages; do
    [[ " ${missing[*]} " == *" $package "* ]] && continue
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
  done
done
((${#missing[@]} == 0)) && exit 0

install="apt-get install -y --no-install-recommends ${missing[*]}"
if (($(id -u) != 0)); then
  # A fresh machine's package lists may be empty, hence the update. su's
  # login shell gives root's PATH (dpkg needs /usr/sbin); sudo is offered
  # only where this user may use it.
  if command -v sudo >/dev/null &&
    { sudo -n true 2>/dev/null || id -Gn | grep -qwE 'sudo|admin|wheel'; }; then
    command="sudo apt-get update && sudo $install"
  else
    command="su - -c 'apt-get update && $install'"
  fi
  {
    echo "txtppt2 needs these Debian packages, which are not installed:"
    echo "  ${missing[*]}"
    echo "Install them as root, then run this command again:"
    echo "  $command"
  } >&2
  exit 1
fi

source "$(dirname "$0")/progress.sh"
export DEBIAN_FRONTEND=noninteractive
apt=(apt-get -q -o DPkg::Lock::Timeout=600)
log=$(mktemp "${TMPDIR:-/tmp}/txtppt2-apt.XXXXXX")
trap 'rm -f "$log"' EXIT
started=$SECONDS

update_lists() {
  echo "reading the package lists (apt-get update)" >&2
  "${apt[@]}" update >"$log" 2>&1 || { cat "$log" >&2; return 1; }
}

# A package apt does not know means empty or stale lists.
updated=false
for package in "${missing[@]}"; do
  if ! apt-cache show --no-all-versions "$package" >/dev/null 2>&1; then
    update_lists
    updated=true
    break
  fi
done

echo "installing ${#missing[@]} Debian packages: ${missing[*]}" >&2
if ! run_with_progress "apt-get" "$log" "${apt[@]}" -o APT::Status-Fd=1 \
  install -y --no-install-recommends "${missing[@]}"; then
  # Lists that know every package can still name files the mirror has
  # replaced since: read them again once.
  $updated && exit 1
  update_lists
  run_with_progress "apt-get" "$log" "${apt[@]}" -o APT::Status-Fd=1 \
    install -y --no-install-recommends "${missing[@]}"
fi
echo "installed the packages in $((SECONDS - started)) s" >&2
