#!/usr/bin/env bash
# Builds everything from scratch where needed and runs every test: unit tests
# and end-to-end cases natively, the end-to-end cases of the Windows build
# under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-prerequisites.sh

jobs=$(nproc)
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs"
ctest --preset native -j"$jobs"
