#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan) in build-fuzz and
# fuzzes each in turn for SECONDS seconds, from the generated seeds and the
# shared corpus (read only), into build-fuzz/fuzz/{corpus,logs,artifacts}/.
# Keep an input that crashed, leaked, timed out or ran out of memory in
# fuzz/regressions/, named for the bug, once fixed.
#
#   fuzz/run_fuzzers.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(convert_memory compound_file property_set presentation_model
                                      file_inspection)

scripts/install-deps.sh fuzz
build=build-fuzz
cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTXTPPT2_BUILD_FUZZERS=ON \
  -DTXTPPT2_BUILD_CLI=OFF >/dev/null
cmake --build "$build" -j2 --target txtppt2_make_seeds \
  "${targets[@]/#/txtppt2_fuzz_}"

out=$build/fuzz
"$out/txtppt2_make_seeds" "$out/seeds"
shared_corpus=()
[[ -d ../shared/corpus/ppt ]] && shared_corpus=(../shared/corpus/ppt)

# AddressSanitizer's quarantine of freed memory (256 MB by default) would
# count against the RSS limit; a small one still catches use after free.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
for target in "${targets[@]}"; do
  mkdir -p "$out/corpus/$target" "$out/artifacts/$target" "$out/logs"
  echo "== $target for ${seconds}s"
  status=0
  "$out/txtppt2_fuzz_$target" -max_total_time="$seconds" -timeout=1 \
    -rss_limit_mb=256 -malloc_limit_mb=256 -dict=fuzz/ppt.dict \
    -print_final_stats=1 -artifact_prefix="$out/artifacts/$target/" \
    "$out/corpus/$target" "$out/seeds" "${shared_corpus[@]}" \
    >"$out/logs/$target.log" 2>&1 || status=$?
  grep -E '^#[0-9]+ +DONE|stat::number_of_executed_units|stat::new_units_added' \
    "$out/logs/$target.log" || true
  [[ $status -eq 0 ]] || echo "$target stopped with status $status: see $out/logs/$target.log"
done
