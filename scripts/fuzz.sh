#!/usr/bin/env bash
# Runs every libFuzzer target of fuzz/ for a bounded time, starting from its
# seed corpus in fuzz/corpus/<target>/, and fails on a crash, a sanitizer
# finding, a leak, a slow input (10 seconds), or a broken property.
#
#   scripts/fuzz.sh                     every target for 30 seconds
#   FUZZ_SECONDS=600 scripts/fuzz.sh    every target for ten minutes
#   scripts/fuzz.sh landscape           one target
#
# What a run finds is kept in build/fuzz/corpus/<target>/ and grows from run
# to run; an input that fails lands in build/fuzz/findings/, and the target
# replays it when given it as argument (build/fuzz/bin/fuzz_<target> FILE).
# The seeds in the repository are never changed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" >/dev/null

targets=("$@")
if ((${#targets[@]} == 0)); then
  for program in build/fuzz/bin/fuzz_*; do targets+=("${program#build/fuzz/bin/fuzz_}"); done
fi

mkdir -p build/fuzz/findings
failed=0
printf '%-18s %12s  %s\n' target executions result
for target in "${targets[@]}"; do
  seeds=fuzz/corpus/$target
  work=build/fuzz/corpus/$target
  log=build/fuzz/$target.log
  mkdir -p "$work"
  result=ok
  if [[ ! -d $seeds ]]; then
    result="no seed corpus in $seeds"
  elif ! timeout $((seconds + 120)) "build/fuzz/bin/fuzz_$target" -max_total_time="$seconds" \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="build/fuzz/findings/$target-" "$work" "$seeds" >"$log" 2>&1; then
    result="FAILED (log: $log)"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" 2>/dev/null | tail -1)
  printf '%-18s %12s  %s\n' "$target" "${runs:-?}" "$result"
  if [[ $result != ok ]]; then
    failed=1
    [[ -f $log ]] && grep -E -A12 'ERROR|property broken|timeout|leak' "$log" | head -40 >&2
  fi
done
exit $failed
