#!/usr/bin/env bash
# The release packages as an administrator gets them: cpack builds both ZIPs
# from the Windows build (with the 32-bit programs of the windows-x86 build),
# they are unpacked, their contents checked, and the packaged sensors run
# under Wine (a private prefix) against the demo landscape, in the demo's
# folder and installed the PRTG way. The 64-bit sensor runs through the 64-bit
# loader; the 32-bit one where this machine can run 32-bit programs, and is
# reported skipped elsewhere.
#
#   package_test.sh SOURCE_FOLDER WINDOWS_BUILD_FOLDER WORK_FOLDER [X86_BIN_FOLDER]
set -uo pipefail

mkdir -p "$3"
source=$(cd "$1" && pwd)
windows_build=$(cd "$2" && pwd)
work=$(cd "$3" && pwd)
expected=$source/tests/package/expected
prefix=$windows_build/wineprefix-package
x86_bin=${4:-$windows_build/../windows-x86/bin}
wine64=/usr/lib/wine/wine64
# A test of this script may name a loader that fails as on such a machine.
wine32=${VAULTGAUGE_TEST_WINE32_LOADER:-/usr/lib/wine/wine}

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

rm -rf "$work"
mkdir -p "$work/packages" "$work/unpacked" "$work/streams"

if ! cpack --config "$windows_build/CPackConfig.cmake" -B "$work/packages" >"$work/cpack.log" 2>&1
then
  cat "$work/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
version=$(sed -n 's/^project(Vaultgauge VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
sensor=$work/unpacked/Vaultgauge-$version-windows
demo=$work/unpacked/Vaultgauge-$version-demo
for zip in "$sensor" "$demo"; do
  (cd "$work/unpacked" && cmake -E tar xf "$work/packages/$(basename "$zip").zip") ||
    fail "$(basename "$zip").zip cannot be unpacked"
done

# What each package holds, exactly: the stand-in library only in the demo.
contents() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' '|'); }
expect_contents() {
  local folder=$1
  shift
  local want
  want=$(printf '%s\n' "$@" | LC_ALL=C sort | tr '\n' '|')
  [[ "$(contents "$folder")" == "$want" ]] ||
    fail "$(basename "$folder") holds: $(contents "$folder") instead of: $want"
}
expect_contents "$sensor" INSTALL.txt examples/PRD.P00 "examples/SAP Tarnwick.Gbl" \
  examples/Tarnwick.Prf examples/vaultgauge.ini vaultgauge-profile.exe vaultgauge.exe \
  vaultgauge32.exe
expect_contents "$demo" HRP.P00 PRD.P00 QAS.P00 README.txt "SAP Tarnwick.Gbl" SapLandscape.txt \
  Tarnwick.Prf librfc32.dll vaultgauge.ini 32-bit/librfc32.dll 32-bit/vaultgauge.ini

# Each program and library of its width, by the PE header's machine field.
expect_width() {
  local file=$1 want=$2 format
  format=$(x86_64-w64-mingw32-objdump -f "$file" 2>/dev/null | sed -n 's/.*file format //p')
  [[ "$format" == "$want" ]] || fail "$(basename "$file"): format ${format:-unknown}, not $want"
}
expect_width "$sensor/vaultgauge.exe" pei-x86-64
expect_width "$sensor/vaultgauge-profile.exe" pei-x86-64
expect_width "$demo/librfc32.dll" pei-x86-64
expect_width "$sensor/vaultgauge32.exe" pei-i386
expect_width "$demo/32-bit/librfc32.dll" pei-i386

# Every program carries its version resource (Explorer's Details tab), also
# after stripping: the 32-bit profile tool is checked in its build.
for program in "$sensor/vaultgauge.exe" "$sensor/vaultgauge32.exe" \
    "$sensor/vaultgauge-profile.exe" "$x86_bin/vaultgauge-profile.exe"; do
  resource=$(strings -n 3 -el "$program" | tr '\n' '|')
  for field in "VS_VERSION_INFO|" "|ProductName|Vaultgauge|" "|ProductVersion|$version|" \
      "|FileVersion|$version|" "|FileDescription|Vaultgauge "; do
    [[ "$resource" == *"$field"* ]] || fail "$program: no $field in its version resource"
  done
done

# Text files with Windows line ends throughout, the version filled in.
while IFS= read -r -d '' file; do
  lines=$(grep -c '' "$file")
  crlf=$(grep -c $'\r$' "$file")
  [[ "$lines" -gt 0 && "$lines" == "$crlf" ]] || fail "$file: $crlf of $lines lines end in CR LF"
  ! grep -q '{VERSION}' "$file" || fail "$file: the version is not filled in"
done < <(find "$sensor" "$demo" -type f ! -name '*.exe' ! -name '*.dll' -print0)

# The guide explains every message of the sensor's table, and no other; no
# message is written outside the table.
guide=$sensor/INSTALL.txt
messages=$(grep -hoE '"(Error 10[0-9x][0-9]|Sorry, invalid Path-Usage)' \
  "$source/src/util/messages.cc" | tr -d '"' | LC_ALL=C sort -u)
elsewhere=$(grep -rlE '"Error 10[0-9x][0-9]' "$source/src" --include='*.cc' --include='*.h' \
  --exclude='*_test.cc' --exclude='messages.cc' --exclude-dir=standin || true)
[[ -z "$elsewhere" ]] || fail "numbered messages outside the table: $elsewhere"
explained=$(grep -oE '^(Error 10[0-9x][0-9]|Sorry, invalid Path-Usage)' "$guide" | LC_ALL=C sort -u)
[[ -n "$messages" && "$messages" == "$explained" ]] ||
  fail "messages of the code and of INSTALL.txt differ:"$'\n'"$(diff <(echo "$messages") \
    <(echo "$explained"))"

export WINEPREFIX=$prefix WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree,mshtml="
export WINELOADER=$wine64
server() { wineserver "$@" </dev/null >/dev/null 2>&1; }
# A prefix made before wine32 was installed starts no program once it is
# there: it is made anew. Wine's background processes inherit the streams of
# the program that starts them: they get none of the test's. The server that
# wineboot starts ends with its last program (Debian starts every server with
# -p0), so it must be gone before the persistent one is started: else
# "wineserver -p" changes nothing, and a program may meet a server that is
# shutting down and die at once.
if [[ ! -d "$prefix/drive_c" ||
      ( -e $wine32 && ! -d "$prefix/drive_c/windows/syswow64" ) ]]; then
  server -k
  server -w
  rm -rf "$prefix"
  $wine64 wineboot -i </dev/null >/dev/null 2>&1 || fail "wineboot cannot make $prefix"
  server -w
fi
if ! server -p; then
  server -k
  server -w
  server -p || fail "no persistent wineserver for $prefix"
fi
trap 'server -k; server -w' EXIT

# Whether this machine runs 32-bit programs (a kernel without 32-bit support
# refuses the loader), asked once.
run32=yes
if ! why=$($wine32 --version 2>&1 >/dev/null); then
  run32=
  echo "SKIPPED: the 32-bit sensor's runs: this machine cannot run 32-bit Windows programs" \
    "under Wine ($wine32 --version: ${why:-no such loader})"
fi

# expect NAME FOLDER EXIT EXPECTED_STDOUT PROGRAM ARGUMENTS...: runs the
# program under Wine in FOLDER; EXPECTED_STDOUT names a file of
# tests/package/expected (with "\n" line ends), or is "-" for no check. With
# LOADER set (the 32-bit one), through that loader.
expect() {
  local name=$1 folder=$2 code=$3 stdout=$4 loader=${LOADER:-$wine64}
  shift 4
  (cd "$folder" && WINELOADER=$loader $loader "$@" </dev/null >"$work/streams/stdout" \
    2>"$work/streams/stderr")
  local actual=$?
  [[ "$actual" == "$code" ]] || fail "$name: exit code $actual instead of $code" \
    "$(cat "$work/streams/stdout" "$work/streams/stderr")"
  if [[ "$stdout" != - ]]; then
    sed 's/$/\r/' "$expected/$stdout" >"$work/streams/expected"
    cmp -s "$work/streams/expected" "$work/streams/stdout" ||
      fail "$name: standard output differs:"$'\n'"$(diff "$work/streams/expected" \
        "$work/streams/stdout" | cat -A | head -40)"
    if ! xmllint --noout "$work/streams/stdout" 2>"$work/streams/xmllint"; then
      fail "$name: no well-formed XML: $(cat "$work/streams/xmllint")"
    fi
  fi
}

# The demo, tried as its README says: the sensor copied into its folder.
cp "$sensor/vaultgauge.exe" "$sensor/vaultgauge-profile.exe" "$demo/"
expect "demo PRD" "$demo" 0 prd.txt vaultgauge.exe PRD
[[ ! -e "$demo/Dev_Rfc.Trc" ]] || fail "demo PRD left the trace file"
expect "demo global UNDO" "$demo" 0 global-undo.txt vaultgauge.exe global UNDO
expect "demo item mode" "$demo" 0 item-sr3.txt vaultgauge.exe x ITEM=PSAPSR3,GIGABYTE
expect "demo HRP" "$demo" 2 hrp.txt vaultgauge.exe HRP

# The 32-bit sensor as the demo's README says: beside the 32-bit stand-in in
# the folder 32-bit, run in the demo's folder. Beside the 64-bit stand-in it
# names the program to use.
if [[ -n $run32 ]]; then
  cp "$sensor/vaultgauge32.exe" "$demo/32-bit/"
  LOADER=$wine32 expect "demo PRD, 32-bit" "$demo" 0 prd.txt '32-bit\vaultgauge32.exe' PRD
  LOADER=$wine32 expect "demo global UNDO, 32-bit" "$demo" 0 global-undo.txt \
    '32-bit\vaultgauge32.exe' global UNDO
  cp "$sensor/vaultgauge32.exe" "$demo/"
  LOADER=$wine32 expect "32-bit sensor, 64-bit library" "$demo" 2 wrong-width-64.txt \
    vaultgauge32.exe PRD
  rm "$demo/vaultgauge32.exe" "$demo/32-bit/vaultgauge32.exe"
fi
# The 64-bit sensor beside the 32-bit stand-in, run in that folder (the
# system's search would find the 64-bit stand-in in the demo's folder).
cp "$sensor/vaultgauge.exe" "$demo/32-bit/"
expect "64-bit sensor, 32-bit library" "$demo/32-bit" 2 wrong-width-32.txt vaultgauge.exe '..\PRD'
rm "$demo/32-bit/vaultgauge.exe"

# The example profile is sound.
expect "example profile" "$sensor/examples" 0 - "$sensor/vaultgauge-profile.exe" check PRD.P00
[[ "$(tail -1 "$work/streams/stdout")" == $'OK\r' ]] ||
  fail "example profile: $(cat "$work/streams/stdout")"

# Without an RFC library beside it the sensor package says so.
expect "no library" "$sensor" 2 no-library.txt vaultgauge.exe examples\\PRD @

# Installed as INSTALL.txt says: the programs and the profile in PRTG's
# folder, found through C:\PRTG_Path.Txt (the stand-in in place of SAP's
# library, its landscape in the working folder).
drive_c=$prefix/drive_c
prtg_folder="Program Files (x86)/PRTG Network Monitor"
exexml="$drive_c/$prtg_folder/Custom Sensors/EXEXML"
rm -rf "$drive_c/$prtg_folder" "$drive_c/vgpackage" "$drive_c/PRTG_Path.Txt"
mkdir -p "$exexml" "$drive_c/vgpackage"
cp "$sensor/vaultgauge.exe" "$sensor/examples/PRD.P00" "$demo/librfc32.dll" "$exexml/"
cp "$demo/SapLandscape.txt" "$drive_c/vgpackage/"
printf 'PRTG is installed in:\r\nC:\\Program Files (x86)\\PRTG Network Monitor\r\n' \
  >"$drive_c/PRTG_Path.Txt"
expect "installed for PRTG" "$drive_c/vgpackage" 0 prd.txt \
  'C:\Program Files (x86)\PRTG Network Monitor\Custom Sensors\EXEXML\vaultgauge.exe' PRD
rm -rf "$drive_c/$prtg_folder" "$drive_c/vgpackage" "$drive_c/PRTG_Path.Txt"

if ((failures)); then
  echo "$failures failures"
  exit 1
fi
echo "the packages are sound"
