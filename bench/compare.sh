#!/usr/bin/env bash
# Today's sensor against an earlier commit's, natively, with the classic
# stand-in and no simulated latency. Not part of bench/run.sh.
#
#   git worktree add ../before COMMIT
#   bench/compare.sh ../before    the report goes to build/bench/compare/report.md
#
# The earlier checkout is built in its own build/native. Three programs:
# "before" (that commit's sensor and stand-in), "after" (this checkout's) and
# "before, today's stand-in" (that commit's sensor beside this checkout's
# librfccm.so), which shows what the sensor's own code changed apart from
# the stand-in's. Each runs the single-system run of bench/run.sh and its
# global list of 1,000 entries in a landscape of 1,000 systems; their documents
# must be byte-identical. Timed by hyperfine in BENCH_COMPARE_ROUNDS (default
# 10) alternating rounds (200 single runs or 10 list runs of each program a
# round; the single runs with the minimal process of bench/run.sh);
# instructions counted by callgrind, which the load does not change.
set -euo pipefail
[[ $# -eq 1 && -d $1 ]] || {
  echo "usage: bench/compare.sh FOLDER-OF-THE-EARLIER-CHECKOUT" >&2
  exit 2
}
earlier=$(cd "$1" && pwd)
cd "$(dirname "$0")/.."
root=$(pwd)
# shellcheck source=bench/common.sh
source bench/common.sh

rounds=${BENCH_COMPARE_ROUNDS:-10}

scripts/install-prerequisites.sh hyperfine valgrind jq
build_native vaultgauge vaultgauge-profile rfc_standin
(cd "$earlier" && cmake --preset native >/dev/null &&
  cmake --build --preset native -j"$(nproc)" --target vaultgauge rfc_standin >/dev/null)

out=$root/build/bench/compare
rm -rf "$out"
programs=(before after mixed)
mkdir -p "${programs[@]/#/$out/}" "$out/single" "$out/global" "$out/data"
cp "$earlier/build/native/bin/vaultgauge" "$earlier/build/native/bin/librfccm.so" "$out/before/"
cp "$bin/vaultgauge" "$bin/librfccm.so" "$out/after/"
cp "$earlier/build/native/bin/vaultgauge" "$bin/librfccm.so" "$out/mixed/"
for program in "${programs[@]}"; do printf 'OutputMode=Glimora\n' >"$out/$program/vaultgauge.ini"; done
cc -O2 -o "$out/minimal" bench/minimal.c
lay_out_single "$out/single"
lay_out_global "$out/global"

# The same documents from every program, and the successful ones.
for program in "${programs[@]}"; do
  (cd "$out/single" && "../$program/vaultgauge" PRD >"$out/data/$program-single.out") || true
  (cd "$out/global" && "../$program/vaultgauge" global N1000 >"$out/data/$program-global.out") ||
    true
done
for program in "${programs[@]}"; do
  for run in single global; do
    cmp -s "$out/data/after-$run.out" "$out/data/$program-$run.out" || {
      echo "the $run run of $program differs from today's" >&2
      exit 1
    }
  done
done
grep -q 'OraSizes: NoSpc=12,' "$out/data/after-single.out" &&
  grep -q 'NoSystems=1000, Processed=1000, Failed=0' "$out/data/after-global.out" || {
  echo "today's runs did not measure what they should" >&2
  exit 1
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# time_rounds NAME FOLDER WARMUP RUNS ARGUMENT...: hyperfine's rounds over
# the three programs, data/NAME-<round>.json.
time_rounds() {
  local name=$1 folder=$2 warmup=$3 count=$4 round program commands=()
  shift 4
  for program in "${programs[@]}"; do commands+=("../$program/vaultgauge $*"); done
  # The single runs beside the minimal process of bench/run.sh.
  [[ $name != single ]] || commands+=(../minimal)
  for ((round = 1; round <= rounds; round++)); do
    (cd "$out/$folder" && hyperfine -N --warmup "$warmup" --runs "$count" --style none \
      --export-json "$out/data/$name-$round.json" "${commands[@]}" \
      >/dev/null 2>>"$out/data/hyperfine.log")
  done
}
time_rounds single single 20 200 PRD
time_rounds global global 2 10 global N1000
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# row NAME FOLDER ARGUMENT...: a table row per program.
row() {
  local name=$1 folder=$2 index program med min max ratios ratio_med ratio_min ratio_max ir
  shift 2
  local before_ir
  before_ir=$(instructions "$out/$folder" ../before/vaultgauge "$@")
  for index in "${!programs[@]}"; do
    program=${programs[index]}
    read -r med min max < <(for f in "$out/data/$name"-*.json; do times_of "$f" "$index"; done |
      stats)
    ratios=$(for f in "$out/data/$name"-*.json; do
      awk -v a="$(times_of "$f" "$index" | stats | cut -d' ' -f1)" \
        -v b="$(times_of "$f" 0 | stats | cut -d' ' -f1)" 'BEGIN { print a / b }'
    done)
    read -r ratio_med ratio_min ratio_max < <(median_min_max <<<"$ratios")
    ir=$before_ir
    [[ $program == before ]] || ir=$(instructions "$out/$folder" "../$program/vaultgauge" "$@")
    echo "| $program | $med | $min | $max | $ratio_med ($ratio_min to $ratio_max) |" \
      "$(group "$ir") | $(awk -v a="$ir" -v b="$before_ir" 'BEGIN { printf "%.3f", a / b }') |"
  done
}

{
  echo "## Before and after"
  echo
  machine_lines
  echo "- load average before $load_before, after $load_after"
  echo "- before: $(git -C "$earlier" log -1 --format='%h %s' | cut -c1-80)"
  echo "- after: $(git log -1 --format='%h %s' | cut -c1-80)"
  echo
  echo "Times in ms (median, min, max of all runs); \"rounds\": the median of the rounds'"
  echo "ratios of medians to before's, with their range. Instructions in user space."
  echo
  for name in single global; do
    if [[ $name == single ]]; then
      echo "### \`vaultgauge PRD\` ($rounds rounds of 200 runs)"
      arguments=(single PRD)
    else
      echo "### \`vaultgauge global N1000\` ($rounds rounds of 10 runs)"
      arguments=(global global N1000)
    fi
    echo
    echo "| program | median | min | max | to before, rounds | instructions | to before |"
    echo "|---|---:|---:|---:|---:|---:|---:|"
    row "$name" "${arguments[@]}"
    echo
    if [[ $name == single ]]; then
      read -r minimal_med _ _ < <(for f in "$out/data/single"-*.json; do times_of "$f" 3; done |
        stats)
      echo "The minimal process of bench/run.sh, in the same rounds: $minimal_med ms; the" \
        "programs' medians to it: $(for index in "${!programs[@]}"; do
          awk -v p="${programs[index]}" -v m="$minimal_med" -v a="$(for f in \
            "$out/data/single"-*.json; do times_of "$f" "$index"; done | stats | cut -d' ' -f1)" \
            'BEGIN { printf "%s %.2f; ", p, a / m }'
        done)"
      echo
    fi
  done
  echo "\"mixed\": before's sensor with today's stand-in. The documents of all three are"
  echo "byte-identical."
} | tee "$out/report.md"
