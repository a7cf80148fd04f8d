#!/usr/bin/env bash
# Runs every fuzz target (fuzz/<target>_fuzz.cpp) and prints, per target, the
# executions, the coverage reached and the crashes found.
#
#   fuzz.sh            each target for 10 million executions
#   fuzz.sh --short    each target for 10 seconds (the test command's pass)
#   fuzz.sh --runs N   each target for N executions
#   ... TARGET...      only these targets
#
# Each starts from its seed corpus (fuzz/corpus/<target>, checked in, with
# the inputs of every fixed crash) and the inputs found so far
# (build/native/corpus/<target>), with the target's dictionary where the
# format has tags. No single allocation may exceed 1 MB, so that no length
# field can ask for more; the JPEG target's limit is 8 MB, above its largest
# picture (1024 x 1024 pixels of 3 bytes). A crash's input goes to
# build/native/crashes/. Exit code 1 when any target crashed.
set -euo pipefail
cd "$(dirname "$0")/.."
limit=(-runs=10000000)
case "${1:-}" in
  --short) limit=(-max_total_time=10); shift ;;
  --runs) limit=(-runs="$2"); shift 2 ;;
esac
targets=()
for source in fuzz/*_fuzz.cpp; do
  name=$(basename "$source")
  targets+=("${name%_fuzz.cpp}")
done
if [ $# -gt 0 ]; then
  for target in "$@"; do
    [ -f "fuzz/${target}_fuzz.cpp" ] || { echo "no fuzz target $target" >&2; exit 2; }
  done
  targets=("$@")
fi
bash tools/build-native.sh >/dev/null

crashes=build/native/crashes
mkdir -p "$crashes"
printf '%-16s %14s %8s %8s %8s\n' target executions cov features crashes
failed=0
for target in "${targets[@]}"; do
  work="build/native/corpus/$target"
  mkdir -p "$work"
  options=("${limit[@]}" -malloc_limit_mb=1 -rss_limit_mb=2048 -timeout=10
           -artifact_prefix="$crashes/$target-" -print_final_stats=1)
  [ "$target" = jpeg ] && options[1]=-malloc_limit_mb=8
  [ -f "fuzz/dict/$target.dict" ] && options+=(-dict="fuzz/dict/$target.dict")
  log="build/native/$target.log"
  # Crashes, leaks, running out of memory and time-outs; not the slow-unit
  # notes, which a stopped process also leaves.
  count_crashes() { find "$crashes" -name "$target-*" ! -name "$target-slow-unit-*" | wc -l; }
  before=$(count_crashes)
  status=0
  ASAN_OPTIONS=detect_leaks=1 "build/native/${target}_fuzz" "${options[@]}" "$work" \
    "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  runs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$log" | tail -n 1)
  cov=$(grep -Eo 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
  ft=$(grep -Eo 'ft: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
  found=$(( $(count_crashes) - before ))
  printf '%-16s %14s %8s %8s %8s\n' "$target" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$found"
  if [ "$status" -ne 0 ] || [ "$found" -gt 0 ]; then
    failed=1
    echo "  $target crashed: see $log" >&2
  fi
done
exit "$failed"
