#!/usr/bin/env bash
# Installs what is missing and builds the three configurations (Windows first:
# the native integration tests run their client.exe under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake --preset windows >/dev/null
cmake --build --preset windows -j2
cmake --preset windows64 >/dev/null
cmake --build --preset windows64 -j2
cmake --preset native >/dev/null
cmake --build --preset native -j2
