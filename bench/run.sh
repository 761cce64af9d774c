#!/usr/bin/env bash
# The benchmark: speed and footprint of the sensor with the stand-in RFC
# library (no simulated latency), natively. Never part of the tests.
#
#   bench/run.sh            everything; the report goes to build/bench/report.md
#                           (hyperfine's warnings to build/bench/data/hyperfine.log)
#
# Environment: BENCH_ROUNDS (default 10) rounds of the single-system pair,
# BENCH_RUNS (default 300) runs of each command per round, BENCH_CALLGRIND_MAX
# (default 1000) the largest global-list run counted by callgrind. The pair
# is measured in short alternating rounds, so that a change of the machine's
# load in the meantime falls on both alike.
#
# What it measures (wall times as median, minimum and maximum of all runs):
#   1. a single-system run (the demo landscape's PRD, a dozen tablespaces)
#      against a minimal process built from bench/minimal.c, with the classic
#      and with the NetWeaver stand-in library, found after the search for the
#      classic one, and chosen by the setting RfcLibrary=netweaver;
#   2. global-list runs over 1, 10, 100 and 1,000 list entries in a landscape
#      of 1,000 systems, and the cost per system;
#   3. the peak resident memory of each (/usr/bin/time), and the instructions
#      each executes in user space (valgrind's callgrind);
#   4. the size of vaultgauge and vaultgauge.exe;
#   5. a global list of 250 slow systems measured one after another and side
#      by side (bench/parallel.sh, about three and a half minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# shellcheck source=bench/common.sh
source bench/common.sh

rounds=${BENCH_ROUNDS:-10}
runs=${BENCH_RUNS:-300}
callgrind_max=${BENCH_CALLGRIND_MAX:-1000}

scripts/install-prerequisites.sh hyperfine time valgrind jq

build_native vaultgauge vaultgauge-profile rfc_standin nwrfc_standin
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target vaultgauge >/dev/null

out=$root/build/bench
rm -rf "$out"
mkdir -p "$out/program" "$out/program-nw" "$out/program-nw-set" "$out/single" "$out/global" "$out/data"

cc -O2 -o "$out/minimal" bench/minimal.c
cp "$bin/vaultgauge" "$bin/librfccm.so" "$out/program/"
# Profiles from the folder of argument 1, the same XML document as PRTG's.
printf 'OutputMode=Glimora\n' >"$out/program/vaultgauge.ini"
# The same with the NetWeaver stand-in alone beside the program.
cp "$bin/vaultgauge" "$bin/libsapnwrfc.so" "$out/program/vaultgauge.ini" "$out/program-nw/"
# And as a site with only that library sets it up: no search for the classic
# library (which looks through every folder of the system's search first).
cp "$bin/vaultgauge" "$bin/libsapnwrfc.so" "$out/program-nw-set/"
printf 'OutputMode=Glimora\nRfcLibrary=netweaver\n' >"$out/program-nw-set/vaultgauge.ini"

# 1. The single system; 2. the landscape of 1,000 systems and its lists.
lay_out_single "$out/single"
lay_out_global "$out/global"
counts=("${global_counts[@]}")

# Each run must be the successful measurement, not some error document.
(
  cd "$out/single"
  for program in program program-nw program-nw-set; do
    ../$program/vaultgauge PRD | grep -q 'OraSizes: NoSpc=12,' || {
      echo "the single-system run of $program failed" >&2
      exit 1
    }
  done
  cd "$out/global"
  for count in "${counts[@]}"; do
    ../program/vaultgauge global "N$count" |
      grep -q "NoSystems=$count, Processed=$count, Failed=0" || {
      echo "the global-list run over $count entries failed" >&2
      exit 1
    }
  done
)

load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# 1. The single-system run against the minimal process, in rounds.
single_rows=""
round_ratios=""
nw_round_ratios=""
set_round_ratios=""
for ((round = 1; round <= rounds; round++)); do
  (cd "$out/single" && hyperfine -N --warmup 50 --runs "$runs" --style none \
    --export-json "$out/data/single-$round.json" ../minimal "../program/vaultgauge PRD" \
    "../program-nw/vaultgauge PRD" "../program-nw-set/vaultgauge PRD" \
    >/dev/null 2>>"$out/data/hyperfine.log")
  read -r m_med _ _ < <(times_of "$out/data/single-$round.json" 0 | stats)
  read -r s_med _ _ < <(times_of "$out/data/single-$round.json" 1 | stats)
  read -r n_med _ _ < <(times_of "$out/data/single-$round.json" 2 | stats)
  read -r w_med _ _ < <(times_of "$out/data/single-$round.json" 3 | stats)
  round_ratio=$(awk -v a="$s_med" -v b="$m_med" 'BEGIN { printf "%.2f", a / b }')
  nw_round_ratio=$(awk -v a="$n_med" -v b="$m_med" 'BEGIN { printf "%.2f", a / b }')
  round_ratios+="$round_ratio"$'\n'
  set_round_ratio=$(awk -v a="$w_med" -v b="$m_med" 'BEGIN { printf "%.2f", a / b }')
  nw_round_ratios+="$nw_round_ratio"$'\n'
  set_round_ratios+="$set_round_ratio"$'\n'
  single_rows+="| $round | $m_med | $s_med | $round_ratio | $n_med | $nw_round_ratio | $w_med"
  single_rows+=" | $set_round_ratio |"$'\n'
done
read -r ratio_med ratio_min ratio_max < <(printf '%s' "$round_ratios" | median_min_max)
read -r nw_ratio_med nw_ratio_min nw_ratio_max < <(printf '%s' "$nw_round_ratios" | median_min_max)
read -r set_ratio_med set_ratio_min set_ratio_max < <(printf '%s' "$set_round_ratios" |
  median_min_max)
# every_round INDEX: "median min max" of command INDEX's times in all rounds.
every_round() {
  for f in "$out"/data/single-*.json; do times_of "$f" "$1"; done | stats
}
read -r minimal_med minimal_min minimal_max < <(every_round 0)
read -r single_med single_min single_max < <(every_round 1)
read -r nw_med nw_min nw_max < <(every_round 2)
read -r set_med set_min set_max < <(every_round 3)

# 2. The global-list runs.
(cd "$out/global" && hyperfine -N --warmup 3 --min-runs 20 --style none \
  --export-json "$out/data/global.json" \
  "../program/vaultgauge global N1" "../program/vaultgauge global N10" \
  "../program/vaultgauge global N100" "../program/vaultgauge global N1000" \
  >/dev/null 2>>"$out/data/hyperfine.log")
declare -A global_med global_min global_max
for index in "${!counts[@]}"; do
  read -r med min max < <(times_of "$out/data/global.json" "$index" | stats)
  global_med[${counts[index]}]=$med
  global_min[${counts[index]}]=$min
  global_max[${counts[index]}]=$max
done

load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# 3. Peak resident memory (KiB) over five runs, and instructions in user space.
# memory FOLDER COMMAND...: prints "median min max".
memory() {
  local folder=$1
  shift
  for _ in 1 2 3 4 5; do
    (cd "$folder" && /usr/bin/time -f '%M' -o "$out/data/rss" "$@" >/dev/null)
    cat "$out/data/rss"
  done | sort -n | awk '{ v[NR] = $1 } END { print v[3], v[1], v[5] }'
}

read -r minimal_rss minimal_rss_min minimal_rss_max < <(memory "$out/single" ../minimal)
read -r single_rss single_rss_min single_rss_max < <(memory "$out/single" ../program/vaultgauge PRD)
minimal_ir=$(instructions "$out/single" ../minimal)
single_ir=$(instructions "$out/single" ../program/vaultgauge PRD)
read -r nw_rss nw_rss_min nw_rss_max < <(memory "$out/single" ../program-nw/vaultgauge PRD)
nw_ir=$(instructions "$out/single" ../program-nw/vaultgauge PRD)
read -r set_rss _ _ < <(memory "$out/single" ../program-nw-set/vaultgauge PRD)
set_ir=$(instructions "$out/single" ../program-nw-set/vaultgauge PRD)
declare -A global_rss global_ir
for count in "${counts[@]}"; do
  global_rss[$count]=$(memory "$out/global" ../program/vaultgauge global "N$count")
  global_ir[$count]="-"
  if ((count <= callgrind_max)); then
    global_ir[$count]=$(group "$(instructions "$out/global" ../program/vaultgauge global "N$count")")
  fi
done

# 4. Sizes, as built and stripped of symbols and debug information.
size_of() { stat -c %s "$1"; }
strip -o "$out/data/vaultgauge.stripped" "$bin/vaultgauge"
x86_64-w64-mingw32-strip -o "$out/data/vaultgauge.exe.stripped" build/windows/bin/vaultgauge.exe
strip -o "$out/data/librfccm.so.stripped" "$bin/librfccm.so"
strip -o "$out/data/libsapnwrfc.so.stripped" "$bin/libsapnwrfc.so"

per_system=$(awk -v a="${global_med[1000]}" -v b="${global_med[1]}" \
  'BEGIN { printf "%.4f", (a - b) / 999 }')
per_entry=$(awk -v a="${global_med[1000]}" 'BEGIN { printf "%.4f", a / 1000 }')
ratio=$(awk -v a="$single_med" -v b="$minimal_med" 'BEGIN { printf "%.2f", a / b }')
nw_ratio=$(awk -v a="$nw_med" -v b="$minimal_med" 'BEGIN { printf "%.2f", a / b }')
set_ratio=$(awk -v a="$set_med" -v b="$minimal_med" 'BEGIN { printf "%.2f", a / b }')

# 5. The global list of slow systems, one after another and side by side.
bench/parallel.sh >/dev/null

{
  echo "## Machine"
  echo
  machine_lines
  echo "- load average before $load_before, after $load_after"
  echo "- commit $(git rev-parse --short HEAD 2>/dev/null || echo unknown)" \
    "$(git diff --quiet 2>/dev/null || echo '(with changes)')"
  echo
  echo "## Single-system run (ms; $rounds rounds of $runs runs each)"
  echo
  echo "| | median | min | max | peak RSS (KiB) | instructions |"
  echo "|---|---:|---:|---:|---:|---:|"
  echo "| minimal process | $minimal_med | $minimal_min | $minimal_max | $minimal_rss" \
    "| $(group "$minimal_ir") |"
  echo "| \`vaultgauge PRD\` | $single_med | $single_min | $single_max | $single_rss" \
    "| $(group "$single_ir") |"
  echo "| \`vaultgauge PRD\`, NetWeaver | $nw_med | $nw_min | $nw_max | $nw_rss" \
    "| $(group "$nw_ir") |"
  echo "| \`vaultgauge PRD\`, NetWeaver, \`RfcLibrary=netweaver\` | $set_med | $set_min | $set_max" \
    "| $set_rss | $(group "$set_ir") |"
  echo
  echo "Ratio of the medians: **$ratio**; median of the rounds' ratios $ratio_med" \
    "($ratio_min to $ratio_max). With the NetWeaver stand-in: **$nw_ratio**; rounds" \
    "$nw_ratio_med ($nw_ratio_min to $nw_ratio_max); with \`RfcLibrary=netweaver\`:" \
    "**$set_ratio**; rounds $set_ratio_med ($set_ratio_min to $set_ratio_max). Instructions," \
    "which the load does not" \
    "change: NetWeaver $(awk -v a="$nw_ir" -v b="$single_ir" 'BEGIN { printf "%.2f", a / b }')" \
    "times the classic run. Per round:"
  echo
  echo "| round | minimal median | sensor median | ratio | NetWeaver median | ratio |" \
    "NetWeaver set median | ratio |"
  echo "|---:|---:|---:|---:|---:|---:|---:|---:|"
  printf '%s' "$single_rows"
  echo
  echo "Peak RSS: median of 5 runs (minimal $minimal_rss_min to $minimal_rss_max," \
    "sensor $single_rss_min to $single_rss_max, NetWeaver $nw_rss_min to $nw_rss_max)."
  echo
  echo "## Global-list runs (ms)"
  echo
  echo "| list entries | median | min | max | median per entry | peak RSS (KiB, median min max) |" \
    "instructions |"
  echo "|---:|---:|---:|---:|---:|---:|---:|"
  for count in "${counts[@]}"; do
    echo "| $count | ${global_med[$count]} | ${global_min[$count]} | ${global_max[$count]} |" \
      "$(awk -v a="${global_med[$count]}" -v n="$count" 'BEGIN { printf "%.4f", a / n }') |" \
      "${global_rss[$count]} | ${global_ir[$count]} |"
  done
  echo
  echo "Cost per system: **$per_system ms** ((median of 1,000 − median of 1) / 999);" \
    "$per_entry ms per entry of the 1,000-entry run, start included."
  echo
  echo "## Sizes (bytes)"
  echo
  echo "| file | as built | stripped |"
  echo "|---|---:|---:|"
  echo "| \`vaultgauge\` (native, RelWithDebInfo) | $(group "$(size_of "$bin/vaultgauge")") |" \
    "$(group "$(size_of "$out/data/vaultgauge.stripped")") |"
  echo "| \`vaultgauge.exe\` (mingw-w64, Release, static) |" \
    "$(group "$(size_of build/windows/bin/vaultgauge.exe)") |" \
    "$(group "$(size_of "$out/data/vaultgauge.exe.stripped")") |"
  echo "| \`librfccm.so\` (stand-in, native) | $(group "$(size_of "$bin/librfccm.so")") |" \
    "$(group "$(size_of "$out/data/librfccm.so.stripped")") |"
  echo "| \`libsapnwrfc.so\` (stand-in, native) | $(group "$(size_of "$bin/libsapnwrfc.so")") |" \
    "$(group "$(size_of "$out/data/libsapnwrfc.so.stripped")") |"
  echo
  cat "$out/parallel/report.md"
} | tee "$out/report.md"
