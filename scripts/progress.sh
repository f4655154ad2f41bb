# shellcheck shell=bash
# Progress display for long steps (a build, a package installation), shared
# by the scripts in this folder:
#
#   source scripts/progress.sh
#   run_with_progress "building txtppt2" build/build.log cmake --build build
#
# The step's whole output goes to its log; standard error shows how far it
# is. On a terminal that is one line redrawn in place; otherwise a line at
# each tenth of the way (at most one per 10 seconds) and one at the end, so
# that a CI log or a file stays short. A step that has nothing to do shows
# nothing. When the step fails, the end of its log is shown.

# Reads a step's output and draws its progress on standard error. Knows
# make's "[ 42%] Building ...", ninja's "[12/80] Building ..." and apt-get's
# status lines (-o APT::Status-Fd=1): "dlstatus:...:PERCENT:..." while
# downloading, "pmstatus:...:PERCENT:..." while unpacking and configuring.
progress_filter() {
  local label=$1 started=$SECONDS on_terminal=false
  [[ -t 2 ]] && on_terminal=true
  local working=false line phase percent text
  local shown_text='' shown_phase='' shown_tenth=-1 shown_at=-100 latest=''
  while IFS= read -r line; do
    phase=''
    if [[ $line =~ ^\[\ *([0-9]+)%\] ]]; then
      percent=${BASH_REMATCH[1]}
    elif [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]]; then
      percent=$((100 * BASH_REMATCH[1] / BASH_REMATCH[2]))
    elif [[ $line =~ ^dlstatus:[^:]*:([0-9]+) ]]; then
      phase=downloading percent=${BASH_REMATCH[1]} working=true
    elif [[ $line =~ ^pmstatus:[^:]*:([0-9]+) ]]; then
      phase=installing percent=${BASH_REMATCH[1]} working=true
    else
      continue
    fi
    # An up-to-date build still prints "[100%] Built target ...": only
    # compiling or linking means there is work to show.
    [[ $line == *Building* || $line == *Linking* ]] && working=true
    $working || continue
    text="$label: ${phase:+$phase }$percent% ($((SECONDS - started)) s)"
    latest=$text
    if $on_terminal; then
      printf '\r\033[K%s' "$text" >&2
    elif [[ $phase != "$shown_phase" ]] ||
      ((percent / 10 > shown_tenth && SECONDS - shown_at >= 10)); then
      echo "$text" >&2
      shown_text=$text shown_phase=$phase shown_tenth=$((percent / 10))
      shown_at=$SECONDS
    fi
  done
  if $on_terminal && [[ -n $latest ]]; then
    printf '\r\033[K%s\n' "$latest" >&2
  elif [[ $latest != "$shown_text" ]]; then
    echo "$latest" >&2
  fi
}

# run_with_progress LABEL LOG COMMAND [ARGUMENTS...]
# Runs COMMAND with its output in LOG and its progress on standard error;
# returns COMMAND's exit status.
run_with_progress() {
  local label=$1 log=$2 status=0
  shift 2
  "$@" </dev/null 2>&1 | tee "$log" | progress_filter "$label" || status=$?
  if ((status != 0)); then
    echo "$label failed (exit status $status); the end of $log:" >&2
    tail -n 40 "$log" >&2
  fi
  return "$status"
}
