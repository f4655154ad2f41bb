#!/usr/bin/env bash
# Builds txtppt2 and runs its whole test suite in five stages, one after
# another:
#   1. everything under AddressSanitizer and UndefinedBehaviorSanitizer
#      (build-sanitize/);
#   2. the concurrency tests (label "concurrency") under ThreadSanitizer
#      (build-tsan/);
#   3. txtppt2.dll for Windows, cross-built with MinGW-w64 and tested under
#      Wine on Windows' own structured storage (scripts/test-windows.sh);
#   4. the 32-bit builds: txtppt2.dll for 32-bit Windows and the whole suite
#      at -m32 (scripts/test-x86.sh);
#   5. last, everything again in the release build, benchmarks built too
#      (build/).
# Each stage prints a heading and its time; a failed stage does not stop the
# later ones, and a summary of every stage's time and result closes the run.
# The exit status is 0 only when every stage passed.
#
# First it checks, once, every Debian package the stages need
# (scripts/install-deps.sh test): run as root it installs the missing ones;
# otherwise it prints the command that does and stops before building.
#
# Tests that need the shared corpus (../shared) skip outside CI and fail in
# CI (CI=true) when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/progress.sh
started=$SECONDS

# The same results whatever the caller's locale: file names are UTF-8
# (Wine, for one, maps them to Windows names through the locale), and
# messages are the untranslated ones. C.UTF-8 is part of Debian's libc.
export LC_ALL=C.UTF-8
unset LANGUAGE

scripts/install-deps.sh test

jobs=$(nproc)

# stage HEADING COMMAND [ARGUMENTS...]: runs one stage between a heading and
# a closing line with its result and time, and keeps both for the summary.
# COMMAND is a script or a function whose steps are joined with &&.
summary=()
failed=0
stage() {
  local heading=$1 stage_started=$SECONDS status=0 result
  shift
  echo
  echo "== $heading"
  "$@" || status=$?
  if ((status == 0)); then
    result=passed
  else
    result="FAILED (exit status $status)"
    failed=1
  fi
  result=$(printf '%-48s %-6s %s' "$heading" "$(duration "$stage_started")" "$result")
  echo "== $result"
  summary+=("$result")
}

# duration SINCE: the time since SECONDS was SINCE, as "3m07s".
duration() {
  local seconds=$((SECONDS - $1))
  printf '%dm%02ds' $((seconds / 60)) $((seconds % 60))
}

# configure_and_build DIR CMAKE_OPTIONS...: the build's output goes to
# DIR/build.log, its progress to the terminal.
configure_and_build() {
  local dir=$1
  shift
  mkdir -p "$dir" &&
    run_with_progress "building $dir" "$dir/build.log" \
      configure_then_build "$dir" -DTXTPPT2_WARNINGS_AS_ERRORS=ON "$@"
}
configure_then_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@" && cmake --build "$dir" -j"$jobs"
}

sanitizer_tests() {
  configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=Debug \
    -DTXTPPT2_SANITIZE=address,undefined &&
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
}

# ThreadSanitizer slows everything down: only the concurrency tests run
# (the library's stress test, the command's threaded groups, and the
# fixtures they need).
thread_sanitizer_tests() {
  configure_and_build build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTXTPPT2_SANITIZE=thread &&
    ctest --test-dir build-tsan --output-on-failure -j"$jobs" -L concurrency
}

release_tests() {
  configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTXTPPT2_BUILD_BENCHMARKS=ON &&
    ctest --test-dir build --output-on-failure -j"$jobs"
}

stage "sanitizer build (address, undefined)" sanitizer_tests
stage "thread sanitizer build (concurrency tests)" thread_sanitizer_tests
stage "Windows build under Wine" scripts/test-windows.sh
stage "32-bit builds: txtppt2.dll for 32-bit Windows, the suite at -m32" \
  scripts/test-x86.sh
stage "release build" release_tests

echo
echo "== summary"
printf '%s\n' "${summary[@]}"
if ((failed)); then
  verdict="some stages FAILED"
else
  verdict="every stage passed"
fi
echo "== scripts/test.sh took $(duration "$started") in all: $verdict"
exit "$failed"
