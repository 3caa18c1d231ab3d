#!/usr/bin/env bash
# Builds the optimised benchmark configuration and prints the throughput of the
# message reassembly and rendering next to memcpy. BUILD_DIR overrides the
# build folder; arguments go to the benchmark (e.g. --benchmark_filter=memcpy).
#
#   bench/message_bench.sh [BENCHMARK OPTIONS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build/bench}"
cd "$root"
cmake --preset bench -B "$build" >/dev/null
cmake --build "$build" -j2 --target message_bench >/dev/null
"$build/bench/message_bench" "$@"
