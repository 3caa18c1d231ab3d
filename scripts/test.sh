#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test:
# the native one under AddressSanitizer and UndefinedBehaviorSanitizer, the
# Windows one under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake --preset windows >/dev/null
cmake --build --preset windows -j2
cmake --preset native >/dev/null
cmake --build --preset native -j2

status=0
ctest --preset native || status=1
ctest --preset windows || status=1
exit $status
