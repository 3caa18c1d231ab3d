#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test:
# the native one under AddressSanitizer and UndefinedBehaviorSanitizer, the
# Windows one under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

status=0
ctest --preset native || status=1
ctest --preset windows || status=1
exit $status
