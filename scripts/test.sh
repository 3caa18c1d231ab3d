#!/usr/bin/env bash
# Installs what is missing, builds the configurations and runs every test:
# the native one under AddressSanitizer and UndefinedBehaviorSanitizer, the
# 32-bit Windows one under Wine, the 64-bit one under 64-bit Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

status=0
ctest --preset native || status=1
ctest --preset windows || status=1
ctest --preset windows64 || status=1
exit $status
