#!/usr/bin/env bash
# Soaks the native client (AddressSanitizer and UndefinedBehaviorSanitizer)
# against the demo server's chaos mode, seed after seed, through main_test's
# chaos case, and prints the seeds run per second and the first failing seed.
#
#   tests/client/soak.sh [SEEDS [FIRST]]      (default: 1000 seeds from 1)
#
# BUILD_DIR overrides the native build folder (default build/native, made
# with the native preset when missing).
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
seeds="${1:-1000}"
first="${2:-1}"
build="${BUILD_DIR:-$root/build/native}"
cd "$root"

[ -f "$build/CMakeCache.txt" ] || cmake --preset native -B "$build" >/dev/null || exit 1
cmake --build "$build" --target main_test -j2 >/dev/null || exit 1

log="$(mktemp)"
trap 'rm -f "$log"' EXIT
start=$(date +%s.%N)
MARROWBY_CHAOS_SEEDS="$seeds" MARROWBY_CHAOS_FIRST_SEED="$first" \
  "$build/tests/client/main_test" --gtest_filter='*ChaoticServers/native' >"$log" 2>&1
status=$?
end=$(date +%s.%N)

failing="$(sed -n 's/.*first failing seed: \([0-9]*\).*/\1/p' "$log" | head -n 1)"
ran="$seeds"
[ -z "$failing" ] || ran=$((failing - first + 1))
awk -v ran="$ran" -v start="$start" -v end="$end" \
  'BEGIN { printf "%d seeds in %.1f s: %.2f seeds/s\n", ran, end - start, ran / (end - start) }'
if [ -n "$failing" ] || [ "$status" -ne 0 ]; then
  grep -v '^\[' "$log"
  echo "first failing seed: ${failing:-none named}"
  exit 1
fi
echo "every seed passed"
