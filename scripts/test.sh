#!/usr/bin/env bash
# Builds everything from scratch where needed and runs every test: unit tests
# and end-to-end cases natively, the end-to-end cases of the 64-bit and the
# 32-bit Windows builds under Wine (the 32-bit suite reported as skipped where
# the machine cannot run 32-bit programs), the release packages; then the
# native suite again under the sanitizers, and every fuzz target for
# FUZZ_SECONDS (default 30) seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-prerequisites.sh

jobs=$(nproc)
# The 32-bit build first: the 64-bit build's release package takes its sensor.
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 -j"$jobs"
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
