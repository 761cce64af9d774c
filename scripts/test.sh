#!/usr/bin/env bash
# Builds everything from scratch where needed and runs every test: unit tests
# and end-to-end cases natively, the end-to-end cases of the Windows build
# under Wine; then the native suite again under the sanitizers, and every fuzz
# target for FUZZ_SECONDS (default 30) seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-prerequisites.sh

jobs=$(nproc)
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs"
ctest --preset native -j"$jobs"

# Robustness: the unit and native end-to-end suite under AddressSanitizer (with
# leak detection) and UndefinedBehaviorSanitizer, where any finding fails a
# test; then the fuzz targets.
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"
scripts/fuzz.sh
