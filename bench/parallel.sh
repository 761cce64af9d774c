#!/usr/bin/env bash
# The global list measured side by side (PARALLEL=N) against one after
# another, with slow systems. Part of bench/run.sh; runs alone too:
#
#   bench/parallel.sh       the report goes to build/bench/parallel/report.md
#
# A landscape of BENCH_PARALLEL_SYSTEMS (default 250) systems whose stand-in
# waits BENCH_PARALLEL_DELAY (default 250) ms before each answer, two
# answers a system: one after another about 125 s. One global list names
# every system (item PSAPUNDO, channels named by the SID). It is run once
# without PARALLEL, then BENCH_PARALLEL_RUNS (default 3) times with each
# width of BENCH_PARALLEL_WIDTHS (default "8 16 32") and with PARALLEL=16 and
# the NetWeaver stand-in. Every document must equal the sequential run's
# byte for byte, with the same exit code; the XML mode "Glimora" without
# progress lines carries no time of day. bench/tree_peak.c watches each run:
# wall time, the most copies of the program at one moment, the resident
# memory of all of them together at its peak, and the parent's own peak.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# shellcheck source=bench/common.sh
source bench/common.sh

systems=${BENCH_PARALLEL_SYSTEMS:-250}
delay=${BENCH_PARALLEL_DELAY:-250}
runs=${BENCH_PARALLEL_RUNS:-3}
read -r -a widths <<<"${BENCH_PARALLEL_WIDTHS:-8 16 32}"

build_native vaultgauge vaultgauge-profile rfc_standin nwrfc_standin

out=$root/build/bench/parallel
rm -rf "$out"
mkdir -p "$out/program" "$out/program-nw" "$out/work" "$out/data"
cc -O2 -o "$out/tree_peak" bench/tree_peak.c
printf 'OutputMode=Glimora\n' >"$out/program/vaultgauge.ini"
cp "$bin/vaultgauge" "$bin/librfccm.so" "$out/program/"
cp "$bin/vaultgauge" "$bin/libsapnwrfc.so" "$out/program/vaultgauge.ini" "$out/program-nw/"

# Profiles "001" to "250": the list's entries must fit in 2,047 characters.
landscape "$systems" "$delay" >"$out/work/SapLandscape.txt"
entries=""
for ((i = 1; i <= systems; i++)); do
  name=$(printf '%03d' "$i")
  system_profile "$out/work" "$name" "$i"
  entries+="$name#"
done
global_sensor ALL Item=PSAPUNDO,Sid "$entries" >"$out/work/SAP Tarnwick.Gbl"

# run NAME PROGRAM [KEYWORD]: one run of the list; its document goes to
# data/NAME.out, the watcher's line to data/NAME.result.
run() {
  (cd "$out/work" && "$out/tree_peak" "$out/data/$1.result" "../$2/vaultgauge" global ALL \
    ${3:+"$3"} >"$out/data/$1.out")
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
run sequential program
grep -q "NoSystems=$systems, Processed=$systems, Failed=0" "$out/data/sequential.out" || {
  echo "the sequential run did not measure every system" >&2
  exit 1
}
read -r seq_seconds seq_code seq_processes seq_tree_rss seq_rss <"$out/data/sequential.result"
seq_seconds=$(printf '%.2f' "$seq_seconds")

# Rows of the report: "label width program".
rows=()
for width in "${widths[@]}"; do rows+=("PARALLEL=$width $width program"); done
rows+=("PARALLEL=16, NetWeaver 16 program-nw")
table=""
for row in "${rows[@]}"; do
  label=${row% * *}
  read -r width program <<<"${row#"$label" }"
  for ((round = 1; round <= runs; round++)); do
    name="$program-$width-$round"
    run "$name" "$program" "PARALLEL=$width"
    read -r _ code _ _ _ <"$out/data/$name.result"
    if [[ $code != "$seq_code" ]] || ! cmp -s "$out/data/sequential.out" "$out/data/$name.out"; then
      echo "$label, run $round: the document differs from the sequential run's" >&2
      exit 1
    fi
  done
  results=("$out/data/$program-$width"-*.result)
  read -r med min max < <(awk '{ print $1 }' "${results[@]}" | median_min_max)
  read -r processes < <(awk '{ print $3 }' "${results[@]}" | sort -n | tail -1)
  read -r tree_rss < <(awk '{ print $4 }' "${results[@]}" | sort -n | tail -1)
  read -r parent_rss < <(awk '{ print $5 }' "${results[@]}" | sort -n | tail -1)
  speedup=$(awk -v a="$seq_seconds" -v b="$med" 'BEGIN { printf "%.1f", a / b }')
  table+="| $label | $med | $min | $max | $speedup | $processes | $(group "$tree_rss") |"
  table+=" $(group "$parent_rss") | yes |"$'\n'
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

{
  echo "## Parallel global-list run ($systems systems, $delay ms an answer)"
  echo
  echo "Load average before $load_before, after $load_after. Wall times in seconds;"
  echo "the sequential run once, each other row $runs runs (median, min, max);"
  echo "peaks are the largest of the runs; memory in KiB."
  echo
  echo "| run | median | min | max | speed-up | peak copies | peak RSS, all | peak RSS," \
    "parent (GNU time's %M) | document identical |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|:---:|"
  echo "| one after another | $seq_seconds | $seq_seconds | $seq_seconds | 1.0 |" \
    "$seq_processes | $(group "$seq_tree_rss") | $(group "$seq_rss") | (reference) |"
  printf '%s' "$table"
  echo
  echo "Document: $(wc -c <"$out/data/sequential.out") bytes, exit code $seq_code," \
    "$(tail -c 200 "$out/data/sequential.out" | grep -o 'NoSystems=[^<]*')."
} | tee "$out/report.md"
