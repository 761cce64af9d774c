#!/usr/bin/env bash
# Checks that the demo's documents are the same with either RFC library: every
# run of the README's demo list, in every output mode, once with the classic
# and once with the NetWeaver stand-in; standard output and exit code must be
# byte-identical (times of day aside). Prints one line per run and the count.
set -uo pipefail
cd "$(dirname "$0")/.."

# The arguments of each run, separated by "|".
runs=("PRD" "PRD|GIGABYTE" "PRD|#" "global|UNDO" "global|ALL" "x|ITEM=PSAPSR3 #" "HRP" "QAS")
modes=(EXEXML Glimora Tessvar Halvenor Ormilux)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

passed=0 failed=0
for mode in "${modes[@]}"; do
  for run in "${runs[@]}"; do
    IFS='|' read -r -a arguments <<<"$run"
    for library in classic netweaver; do
      VAULTGAUGE_DEMO_LIBRARY=$library VAULTGAUGE_DEMO_MODE=$mode \
        scripts/demo.sh "${arguments[@]}" >"$out/$library" 2>"$out/$library.err"
      echo "exit $?" >>"$out/$library"
      # A run may cross a second: the times of the progress lines are not compared.
      sed -i -E 's/[0-9]{2}:[0-9]{2}:[0-9]{2}/HH:MM:SS/g' "$out/$library"
    done
    if cmp -s "$out/classic" "$out/netweaver"; then
      echo "same:    $mode $run ($(wc -c <"$out/classic") bytes)"
      ((passed++))
    else
      echo "differs: $mode $run"
      diff "$out/classic" "$out/netweaver" | head -20
      ((failed++))
    fi
  done
done
echo "$passed passed, $failed failed"
((failed == 0))
