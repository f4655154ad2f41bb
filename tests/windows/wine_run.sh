#!/usr/bin/env bash
# Runs a cross-built test program under Wine, in the build's own prefix
# (made once, even when several tests start together), Wine's messages off
# unless WINEDEBUG says otherwise; the program's exit status is this one's.
#
#   wine_run.sh PREFIX PROGRAM [ARGUMENTS...]
set -euo pipefail

if (($# < 2)); then
  echo "usage: $0 PREFIX PROGRAM [ARGUMENTS...]" >&2
  exit 2
fi
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
# File names reach Windows programs through the locale's character set:
# UTF-8, so that every name on disk has its Windows spelling.
export LC_ALL=C.UTF-8
# No window is ever shown: the tests are console programs.
unset DISPLAY WAYLAND_DISPLAY

# Debian's wine64 package alone puts its loader and server in /usr/lib/wine;
# the wine package adds the wine command.
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
if [[ ! -x $wine || ! -x $wineserver ]]; then
  echo "$0: Wine is not installed (Debian: apt-get install wine64)" >&2
  exit 1
fi

if [[ ! -f $WINEPREFIX/system.reg ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
      "$wine" wineboot -i >/dev/null 2>&1 || true
      # wineboot returns before the registry is written out.
      "$wineserver" -w || true
    fi
  ) 9>"$WINEPREFIX.lock"
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "$0: could not make the Wine prefix $WINEPREFIX" >&2
    exit 1
  fi
fi

exec "$wine" "$@"
