#!/usr/bin/env bash
# Builds txtppt2.dll for 64-bit Windows with MinGW-w64 (the "windows" CMake
# preset, into build-windows/) and runs the Windows tests under Wine, in a
# fresh Wine prefix inside the build folder: the unit tests against Windows'
# own structured storage, code pages and global memory, a C host that loads
# the DLL and converts the shared corpus, and the DLL's export and import
# tables.
#
# Run as root on a fresh Debian machine, it first installs what is missing
# (the MinGW-w64 compilers, wine64, GoogleTest's sources); otherwise it names
# what to install and fails. No display is needed.
#
# The corpus part skips outside CI and fails in CI (CI=true) when
# ../shared/corpus is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
# Wine turns Unix file names into Windows ones through the locale: the
# corpus test's non-ASCII names need a UTF-8 one, whatever the caller's.
export LC_ALL=C.UTF-8
started=$SECONDS
phase() { echo "== $* [$((SECONDS - started)) s]"; }

phase "checking the MinGW-w64 and Wine packages"
scripts/install-deps.sh windows

phase "cross-building txtppt2.dll and the Windows tests (build-windows)"
cmake --preset windows >/dev/null
cmake --build --preset windows

# Wine's tools: the wine package's commands when present, else those that
# wine64 alone installs in /usr/lib/wine.
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
export WINEPREFIX=$PWD/build-windows/wineprefix
export WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY

phase "a fresh Wine prefix (build-windows/wineprefix)"
if [[ -d $WINEPREFIX ]]; then
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
fi
"$wine" wineboot -i >/dev/null 2>&1 || true
"$wineserver" -w
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "wineboot did not make the Wine prefix $WINEPREFIX" >&2
  exit 1
fi
# One server for every test program, so that each starts in a moment; it
# ends with this script.
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT
"$wine" cmd /c exit >/dev/null 2>&1 || true

phase "Windows tests under Wine"
status=0
ctest --preset windows || status=$?
echo "scripts/test-windows.sh took $((SECONDS - started)) s"
exit "$status"
