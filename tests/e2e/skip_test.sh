#!/usr/bin/env bash
# The 32-bit suite where 32-bit programs cannot run: the runner must print one
# line saying why, exit with 77 (a skip to CTest, never a pass) and leave the
# Wine prefix alone.
#
#   skip_test.sh RUNNER X86_BIN CASES FAKE_LOADER PREFIX
set -uo pipefail
runner=$1 bin=$2 cases=$3 loader=$4 prefix=$5
rm -rf "$prefix"
output=$("$runner" --bin "$bin" --platform windows --width 32 --cases "$cases" \
  --wine-prefix "$prefix" --wine-loader "$loader" 2>&1)
code=$?
echo "$output"
want="SKIPPED: this machine cannot run 32-bit Windows programs under Wine ($loader --version: $loader: cannot execute binary file: Exec format error)"
failed=0
[[ $code == 77 ]] || { echo "FAIL: exit code $code instead of 77"; failed=1; }
[[ "$output" == "$want" ]] || { echo "FAIL: expected exactly: $want"; failed=1; }
[[ ! -e "$prefix" ]] || { echo "FAIL: the prefix $prefix was made"; failed=1; }
exit $failed
