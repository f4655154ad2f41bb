#!/usr/bin/env bash
# Runs the POI comparison (tools/compare_with_poi.py) only where it means
# something: with CI=true, it needs the shared corpus and fails without it;
# otherwise it is skipped (status 77), as are the other corpus tests. Java
# or POI missing skips it either way.
#
#   run_poi_comparison.sh PYTHON COMPARE_SCRIPT DUMP_PROGRAM CORPUS_FOLDER
set -u
python=$1 script=$2 dump=$3 corpus=$4
if [[ ${CI:-} != true ]]; then
  echo "skipped: set CI=true to compare with Apache POI on the shared corpus"
  exit 77
fi
if [[ ! -d $corpus ]]; then
  echo "the shared corpus is missing: $corpus" >&2
  exit 1
fi
exec "$python" "$script" "$dump" "$corpus"
