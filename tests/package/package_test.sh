#!/usr/bin/env bash
# The release packages as an administrator gets them: cpack builds both ZIPs
# from the Windows build, they are unpacked, their contents checked, and the
# packaged sensor runs under Wine (a private prefix) against the demo
# landscape, in the demo's folder and installed the PRTG way.
#
#   package_test.sh SOURCE_FOLDER WINDOWS_BUILD_FOLDER WORK_FOLDER
set -uo pipefail

mkdir -p "$3"
source=$(cd "$1" && pwd)
windows_build=$(cd "$2" && pwd)
work=$(cd "$3" && pwd)
expected=$source/tests/package/expected
prefix=$windows_build/wineprefix-package

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
  examples/Tarnwick.Prf examples/vaultgauge.ini vaultgauge-profile.exe vaultgauge.exe
expect_contents "$demo" HRP.P00 PRD.P00 QAS.P00 README.txt "SAP Tarnwick.Gbl" SapLandscape.txt \
  Tarnwick.Prf librfc32.dll vaultgauge.ini

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
# Wine's background processes inherit the streams of the program that starts
# them: they get none of the test's.
if [[ ! -d "$prefix/drive_c" ]]; then wineboot -i </dev/null >/dev/null 2>&1; fi
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k </dev/null >/dev/null 2>&1' EXIT

# expect NAME FOLDER EXIT EXPECTED_STDOUT PROGRAM ARGUMENTS...: runs the
# program under Wine in FOLDER; EXPECTED_STDOUT names a file of
# tests/package/expected (with "\n" line ends), or is "-" for no check.
expect() {
  local name=$1 folder=$2 code=$3 stdout=$4
  shift 4
  (cd "$folder" && wine "$@" </dev/null >"$work/streams/stdout" 2>"$work/streams/stderr")
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
