#!/usr/bin/env bash
# Builds the Windows configuration's paint benchmark and runs it under Wine
# from the source root (the library loads its theme from bitmap/ there): the
# median paint time of each skinned control next to the platform's own
# control, and the load time of velmo.dll. BUILD_DIR overrides the build
# folder (default build/windows); an argument sets the paints per control.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${BUILD_DIR:-$root/build/windows}")"
cd "$root"
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j2 --target velmo_paint_bench >/dev/null
tools/wine-run "$build/bin/velmo_paint_bench.exe" "$@"
