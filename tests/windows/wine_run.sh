#!/usr/bin/env bash
# Runs a cross-built test program under Wine in the build's own prefix (made
# once, even when several tests start together), Wine's messages off unless
# WINEDEBUG says otherwise; the program's exit status is this one's.
#
#   wine_run.sh PREFIX PROGRAM [ARGUMENTS...]
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
# File names reach Windows programs through the locale's character set:
# UTF-8, so that every name on disk has its Windows spelling. No window is
# ever shown: the tests are console programs.
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY

# Debian's wine64 package alone puts its loader and server in /usr/lib/wine.
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
[[ -x $wine && -x $wineserver ]] ||
  { echo "$0: Wine is not installed (Debian: wine64)" >&2; exit 1; }

if [[ ! -f $WINEPREFIX/system.reg ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
      "$wine" wineboot -i >/dev/null 2>&1 || true
      "$wineserver" -w || true  # wineboot returns before the registry is out
    fi
  ) 9>"$WINEPREFIX.lock"
  [[ -f $WINEPREFIX/system.reg ]] ||
    { echo "$0: could not make the Wine prefix $WINEPREFIX" >&2; exit 1; }
fi

exec "$wine" "$@"
