#!/usr/bin/env bash
# Installs what is missing and builds both configurations (Windows first: the
# native integration tests run its client.exe).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake --preset windows >/dev/null
cmake --build --preset windows -j2
cmake --preset native >/dev/null
cmake --build --preset native -j2
