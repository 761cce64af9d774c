#!/usr/bin/env bash
# The main job: builds the sensor where needed and runs one measurement,
# printing the document PRTG would receive.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-prerequisites.sh
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)" >/dev/null

set +e
build/native/bin/vaultgauge "$@"
code=$?
set -e
echo "(exit code $code)"
