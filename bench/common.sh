# Helpers of the benchmark scripts, sourced by them (not run on its own).
# Expects `root` (the repository) and sets `bin`, the native programs' folder.

bin=$root/build/native/bin

# build_native TARGET...: the native build, quiet.
build_native() {
  cmake --preset native >/dev/null
  cmake --build --preset native -j"$(nproc)" --target "$@" >/dev/null
}

# new_profile FILE DESTINATION CLIENT HOST SYSNR PASSWORD
new_profile() {
  printf '%s\n' "$6" | "$bin/vaultgauge-profile" new "$1" --extcompany "Tarnwick AG" \
    --destination "$2" --client "$3" --user monitor --language EN --mode R/3 --host "$4" \
    --sysnr "$5" --gwhost "$4" --gwservice "sapgw$5" >/dev/null
}

# landscape COUNT DELAY: a landscape of COUNT systems S0001 ... on standard
# output, each with the tablespaces of the demo's PRD; DELAY milliseconds
# before every answer unless it is empty.
landscape() {
  local tablespaces
  tablespaces=$(awk '/^\[/ { section = $0 } section == "[PRD]" && /^ts / { print }' \
    "$root/examples/demo/SapLandscape.txt")
  awk -v count="$1" -v delay="$2" -v rows="$tablespaces" 'BEGIN {
    for (i = 1; i <= count; i++) {
      printf "[S%04d]\nhost = sap%04d\nsysnr = 00\nlogon = 100 MONITOR Bench-Moni-1\n", i, i
      if (delay != "") printf "delay = %s\n", delay
      printf "RFCDBSYS = ORACLE\n%s\n\n", rows
    }
  }'
}

# system_profile FOLDER NAME NUMBER: the profile FOLDER/NAME for system
# S<NUMBER> of `landscape`.
system_profile() {
  new_profile "$1/$2" "$(printf 'S%04d' "$3")" 100 "$(printf 'sap%04d' "$3")" 00 Bench-Moni-1
}

# global_sensor KEY PARAMETERS ENTRIES: the lines of one global sensor, its
# server lines of at most 199 characters with the data from column 21 on.
global_sensor() {
  local key entries=$3 at
  key=$(printf '%-10s' "$1")
  for ((at = 0; at < ${#entries}; at += 170)); do
    printf '# GSNG: %s--%s\n' "$key" "${entries:at:170}"
  done
  printf '# GSNX: %s;%s,Sensor="SAP Vaultgauge"\n' "$key" "$2"
}

# lay_out_single FOLDER: the demo landscape and the profile PRD.P00 of its
# PRD, a dozen tablespaces.
lay_out_single() {
  local destination client host sysnr password
  cp "$root/examples/demo/SapLandscape.txt" "$1/"
  read -r _ destination client _ host sysnr password < <(grep '^PRD.P00 ' \
    "$root/examples/demo/systems.txt")
  new_profile "$1/PRD.P00" "$destination" "$client" "$host" "$sysnr" "$password"
}

# The global sensors of lay_out_global: "N<count>" measures PSAPUNDO on
# <count> entries.
global_counts=(1 10 100 1000)

# lay_out_global FOLDER: a landscape of 1,000 systems S0001 to S1000, each
# with the tablespaces of the demo's PRD, and a global sensor per count of
# global_counts. The list holds at most 2,047 characters of entries, so 1,000
# entries must be short: they cycle through 62 profiles with one-character
# names, "0" to "9", "A" to "Z" and "a" to "z", for the systems S0001 to S0062.
lay_out_global() {
  local names=0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz i count entries
  landscape 1000 "" >"$1/SapLandscape.txt"
  for ((i = 0; i < ${#names}; i++)); do
    system_profile "$1" "${names:i:1}" $((i + 1))
  done
  for count in "${global_counts[@]}"; do
    entries=""
    for ((i = 0; i < count; i++)); do entries+="${names:i % ${#names}:1}#"; done
    global_sensor "N$count" Item=PSAPUNDO,Sid "$entries"
  done >"$1/SAP Tarnwick.Gbl"
}

# stats: numbers in seconds on standard input; prints "median min max" in ms.
stats() {
  sort -g | awk '{ v[NR] = $1 * 1000 } END {
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.3f %.3f %.3f\n", m, v[1], v[NR]
  }'
}

# median_min_max: numbers on standard input; prints "median min max".
median_min_max() {
  sort -g | awk '{ v[NR] = $1 } END {
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.2f %.2f %.2f\n", m, v[1], v[NR] }'
}

# times_of JSON INDEX: the times of hyperfine's command INDEX, in seconds.
times_of() { jq -r ".results[$2].times[]" "$1"; }

# instructions FOLDER COMMAND...: user-space instructions counted by callgrind.
instructions() {
  local folder=$1
  shift
  (cd "$folder" && valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    awk '/Collected/ { print $NF }')
}

# group NUMBER: with thousands separated by commas.
group() { sed ':a;s/\B[0-9]\{3\}\>/,&/;ta' <<<"$1"; }

# machine_lines: the machine, for a report.
machine_lines() {
  echo "- $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores," \
    "$(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo) memory"
  echo "- Linux $(uname -r), Debian $(cat /etc/debian_version), $(gcc --version | head -1)"
  echo "- $(hyperfine --version), $(valgrind --version)"
}
