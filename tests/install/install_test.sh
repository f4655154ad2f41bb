#!/usr/bin/env bash
# Installs the built tree into a scratch prefix and proves that the install
# is usable: the library with its SONAME links, the header, the command,
# and a C consumer built once with pkg-config and once with find_package,
# whose output must match the installed command's.
#
#   install_test.sh BUILD_DIR WORK_DIR CONSUMER_DIR PRESENTATION CC CMAKE [FLAGS]
#
# FLAGS go to every compile and link (the sanitizers of the build, if any).
set -euo pipefail

build_dir=$1 work=$2 consumer_dir=$3 presentation=$4 cc=$5 cmake=$6
flags=${7:-}
prefix=$work/prefix
failures=0

fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

rm -rf "$work"
mkdir -p "$work"
"$cmake" --install "$build_dir" --prefix "$prefix" >"$work/install.log"

# The library and its SONAME (its links, the header and the package files
# are proved by the consumers below, which link and run against them).
library=$(find "$prefix" -name 'libtxtppt2.so.*.*.*' -type f)
[[ -n $library ]] || { fail "no libtxtppt2.so.X.Y.Z installed"; exit 1; }
libdir=$(dirname "$library")
soname=$(readelf -d "$library" | sed -n 's/.*Library soname: \[\(.*\)\].*/\1/p')
[[ $soname == libtxtppt2.so.2 ]] || fail "SONAME is '$soname'"

# What the installed command prints, in the consumer's encoding. It must
# run from the prefix as it is, without LD_LIBRARY_PATH, unless the build
# was told to install without run paths (TXTPPT2_INSTALL_WITHOUT_RPATH=1,
# from CMAKE_SKIP_INSTALL_RPATH: a system package's build).
expected=$work/expected.txt
run_installed=()
if [[ ${TXTPPT2_INSTALL_WITHOUT_RPATH:-0} == 1 ]]; then
  run_installed=(env "LD_LIBRARY_PATH=$libdir")
fi
if [[ -x $prefix/bin/txtppt2 ]]; then
  "${run_installed[@]}" "$prefix/bin/txtppt2" --encoding cp1252 "$presentation" >"$expected" ||
    fail "the installed txtppt2 command does not run"
else
  fail "no bin/txtppt2"
fi

check_consumer() {
  local how=$1 program=$2
  local output=$work/$how.txt
  "$program" "$presentation" >"$output" && [[ -s $output ]] &&
    cmp -s "$output" "$expected" || fail "$how: no text, or not the command's"
}

# The manual pages, where man finds them under the prefix. txtppt2(1) is
# made with python3; without it, only libtxtppt2(3) is installed.
pages=(share/man/man3/libtxtppt2.3)
command -v python3 >/dev/null && pages+=(share/man/man1/txtppt2.1)
for page in "${pages[@]}"; do
  [[ -s $prefix/$page ]] || fail "no $page"
done

# pkg-config, with the library found through the .pc file's libdir.
export PKG_CONFIG_PATH=$libdir/pkgconfig
[[ $(pkg-config --modversion txtppt2) == 2.0.4 ]] ||
  fail "pkg-config --modversion: $(pkg-config --modversion txtppt2)"
# shellcheck disable=SC2046,SC2086
"$cc" $flags $(pkg-config --cflags txtppt2) "$consumer_dir/consumer.c" \
  -o "$work/consumer-pkg-config" $(pkg-config --libs txtppt2) \
  -Wl,-rpath,"$(pkg-config --variable=libdir txtppt2)"
check_consumer pkg-config "$work/consumer-pkg-config"

# find_package, with the version file's rule: 2.0 is met, 3 is not.
"$cmake" -S "$consumer_dir" -B "$work/consumer-cmake" \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_C_COMPILER="$cc" \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
  >"$work/consumer-cmake.log"
"$cmake" --build "$work/consumer-cmake" >>"$work/consumer-cmake.log"
check_consumer find_package "$work/consumer-cmake/consumer"
if "$cmake" -S "$consumer_dir" -B "$work/consumer-cmake-3" \
     -DCMAKE_PREFIX_PATH="$prefix" -DTXTPPT2_WANTED_VERSION=3 \
     >"$work/consumer-cmake-3.log" 2>&1; then
  fail "find_package(txtppt2 3) accepted version 2.0.4"
elif ! grep -q 'requested version "3"' "$work/consumer-cmake-3.log"; then
  fail "find_package(txtppt2 3) failed for another reason than the version"
fi

((failures == 0)) || { echo "$failures install checks failed" >&2; exit 1; }
echo "install test passed"
