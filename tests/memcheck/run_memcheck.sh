#!/usr/bin/env bash
# Runs under valgrind's memcheck every corpus file through every export, the
# lifetime test over the sample files (every failure path) and the fuzz
# targets over their seeds and saved regressions; any invalid access, use of
# uninitialised memory or leak fails the run. Several minutes: run it before
# a release and after changes to the reader or the driver.
#
#   tests/memcheck/run_memcheck.sh [BUILD_DIR]   # default build-memcheck
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps.sh memcheck
build=${1:-build-memcheck}

# An ordinary optimised build: sanitizers and valgrind do not mix.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTXTPPT2_SANITIZE= \
  -DTXTPPT2_BUILD_CLI=OFF >/dev/null
targets=(txtppt2_unit_tests txtppt2_corpus_tests txtppt2_make_seeds)
fuzz_targets=(convert_memory compound_file)
cmake --build "$build" -j2 --target "${targets[@]}" \
  "${fuzz_targets[@]/#/txtppt2_replay_}"

memcheck=(valgrind --tool=memcheck --leak-check=full --error-exitcode=1
          --show-leak-kinds=definite,indirect,possible
          --errors-for-leak-kinds=definite,indirect,possible
          --track-origins=yes --quiet)

failed=0
run() {
  echo "== $*"
  "${memcheck[@]}" "$@" || { echo "memcheck FAILED: $*"; failed=1; }
}

run "$build/tests/txtppt2_corpus_tests" --gtest_brief=1 \
  --gtest_filter='ExportsCorpusTest.EveryFileEveryWay'
run "$build/tests/txtppt2_unit_tests" --gtest_brief=1 \
  --gtest_filter='ObjectLifetimeTest.*'
"$build/fuzz/txtppt2_make_seeds" "$build/fuzz/seeds" >/dev/null
replay_inputs=("$build/fuzz/seeds")
[[ -d fuzz/regressions ]] && replay_inputs+=(fuzz/regressions)
for target in "${fuzz_targets[@]}"; do
  run "$build/fuzz/txtppt2_replay_$target" "${replay_inputs[@]}"
done

[[ $failed -eq 0 ]] && echo "memcheck: no errors, no leaks"
exit $failed
