#!/usr/bin/env bash
# scripts/progress.sh, fed the output of make, ninja and apt-get as a pipe
# (not a terminal) in much less than 10 s: only the first and the last progress
# lines may show, a step with nothing to do shows nothing, and a failure
# keeps its exit status and shows the end of its log.
set -uo pipefail
source "$(dirname "$0")/../../scripts/progress.sh"
failures=0

expect() {  # NAME EXPECTED_STDERR INPUT
  local actual
  # Elapsed times left out: a run may straddle a second.
  actual=$(printf '%s\n' "$3" | progress_filter step 2>&1 >/dev/null |
    sed 's/ ([0-9]* s)$//')
  if [[ $actual != "$2" ]]; then
    printf '%s: expected [%s], got [%s]\n' "$1" "$2" "$actual"
    failures=$((failures + 1))
  fi
}

expect "up-to-date make" "" $'[ 50%] Built target a\n[100%] Built target b'
expect "ninja, nothing to do" "" "ninja: no work to do."
expect "make build" $'step: 9%\nstep: 100%' \
  $'-- Configuring done\n[  9%] Building CXX object a.o\n[ 50%] Linking CXX static library liba.a\n[ 50%] Built target a\n[100%] Built target b'
expect "ninja build" $'step: 33%\nstep: 66%' \
  $'[1/3] Building CXX object a.o\n[2/3] Linking CXX executable b'
expect "apt-get phases" \
  $'step: downloading 0%\nstep: installing 0%\nstep: installing 97%' \
  $'dlstatus:1:0.0000:Retrieving file 1 of 2\ndlstatus:2:50.000:Retrieving file 2 of 2\npmstatus:a:0.0000:Preparing a\nSetting up a\npmstatus:a:97.8260:Installed a'

log=$(mktemp)
shown=$(run_with_progress step "$log" sh -c 'echo compiler says no; exit 3' 2>&1)
status=$?
if ((status != 3)) || [[ $shown != *"compiler says no"* || $(cat "$log") != "compiler says no" ]]; then
  echo "failing step: status $status, shown [$shown], log [$(cat "$log")]"
  failures=$((failures + 1))
fi
rm -f "$log"

((failures == 0)) && echo "progress display: all cases pass"
exit $((failures != 0))
