#!/usr/bin/env bash
# Streams 100-byte messages from the demo server to the client and to a raw
# sink that only reads the same stream 256 bytes at a time, first natively
# (optimised build, output to /dev/null), then client.exe and the Winsock sink
# under Wine on a smaller stream, and prints both throughputs and their ratio.
# The demo server times each stream from the login to the reader's close, so
# process start-up is left out, and each figure is the best of RUNS runs, as
# the machine is shared. Under Wine the client writes to a file: the Windows C
# library treats /dev/null as a console and leaves it unbuffered.
#
#   bench/client_throughput.sh [windows|windows64]...
#
# The Windows flavours are the presets: windows (32-bit Wine) and windows64
# (64-bit Wine), both when none is named. BUILD_DIR overrides the native build
# folder, WINDOWS_BUILD_DIR the Windows one when one flavour is named (default
# build/<preset>, where the benchmarks are then switched on beside the tests),
# NATIVE_MB and WINE_MB the stream sizes in megabytes, RUNS the runs per figure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
flavours=("$@")
[ ${#flavours[@]} -gt 0 ] || flavours=(windows windows64)
for flavour in "${flavours[@]}"; do
  case "$flavour" in
    windows|windows64) ;;
    *) echo "usage: client_throughput.sh [windows|windows64]..." >&2; exit 2 ;;
  esac
done
if [ -n "${WINDOWS_BUILD_DIR:-}" ] && [ ${#flavours[@]} -gt 1 ]; then
  echo "client_throughput.sh: WINDOWS_BUILD_DIR needs one flavour" >&2
  exit 2
fi
native="${BUILD_DIR:-$root/build/bench}"
native_mb="${NATIVE_MB:-100}"
wine_mb="${WINE_MB:-8}"
runs="${RUNS:-3}"
message_size=100
prefix_size=4
cd "$root"

cmake --preset bench -B "$native" >/dev/null
cmake --build "$native" -j2 --target client_demo raw_sink demo-server >/dev/null
windows_builds=()
for flavour in "${flavours[@]}"; do
  windows="$(realpath -m "${WINDOWS_BUILD_DIR:-$root/build/$flavour}")"
  cmake --preset "$flavour" -B "$windows" -DMARROWBY_BENCHMARKS=ON >/dev/null
  cmake --build "$windows" -j2 --target client_demo raw_sink >/dev/null
  windows_builds+=("$windows")
done

server="$native/tools/demo-server/demo-server"
log="$(mktemp)"
wine_output="$(mktemp)"
server_pid=""
finish() {
  [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
  rm -f "$log" "$wine_output"
  for windows in "${windows_builds[@]}"; do
    tools/wine-run --stop "$windows"
  done
}
trap finish EXIT

demo_port() {
  sed -n 's/^MARROWBY_DEMO_PORT:[A-Z]*=//p' "$1/CMakeCache.txt"
}

# measure MEGABYTES PORT OUTPUT COMMAND...: the megabytes per second at which
# the command, writing to OUTPUT, took a stream of that size from the demo
# server on the port.
measure() {
  local count=$(( $1 * 1000000 / message_size )) port=$2 output=$3
  shift 3
  "$server" --stream "$count" --size $((message_size - prefix_size)) 127.0.0.1 "$port" >"$log" &
  server_pid=$!
  until grep -q listening "$log"; do
    kill -0 "$server_pid" 2>/dev/null || { cat "$log" >&2; return 1; }
    sleep 0.05
  done
  "$@" >"$output"
  wait "$server_pid"
  server_pid=""
  grep -q streamed "$log" || { cat "$log" >&2; return 1; }
  sed -n 's/.*(\([0-9.]*\) MB\/s).*/\1/p' "$log"
}

larger() {
  awk -v a="$1" -v b="$2" 'BEGIN { print (b > a ? b : a) }'
}

# compare TITLE MEGABYTES PORT TARGET OUTPUT CLIENT... -- SINK...: the client
# and the sink take turns; each keeps its best run.
compare() {
  local title=$1 megabytes=$2 port=$3 target=$4 output=$5
  shift 5
  local client=() sink=() client_rate=0 sink_rate=0 rate
  while [ "$1" != "--" ]; do client+=("$1"); shift; done
  shift
  sink=("$@")
  for _ in $(seq "$runs"); do
    rate=$(measure "$megabytes" "$port" "$output" "${client[@]}")
    client_rate=$(larger "$client_rate" "$rate")
    rate=$(measure "$megabytes" "$port" "$output" "${sink[@]}")
    sink_rate=$(larger "$sink_rate" "$rate")
  done
  awk -v t="$title" -v mb="$megabytes" -v size="$message_size" -v c="$client_rate" -v s="$sink_rate" \
      -v goal="$target" 'BEGIN {
    ratio = 100 * c / s
    verdict = ratio >= goal ? "met" : "missed"
    printf "%s, %d MB of %d-byte messages\n", t, mb, size
    printf "  client    %9.2f MB/s\n  raw sink  %9.2f MB/s\n", c, s
    printf "  ratio     %8.1f %%   (target %d %%: %s)\n", ratio, goal, verdict
  }'
}

port=$(demo_port "$native")
compare "native" "$native_mb" "$port" 50 /dev/null \
  "$native/client/client_demo" -- "$native/bench/raw_sink" 127.0.0.1 "$port"

for i in "${!flavours[@]}"; do
  windows=${windows_builds[$i]}
  port=$(demo_port "$windows")
  # The first run in a fresh build folder makes the Wine prefix; keep it out of the figures.
  tools/wine-run "$windows/bench/raw_sink.exe" >/dev/null 2>&1 || true
  compare "Wine, ${flavours[$i]}" "$wine_mb" "$port" 90 "$wine_output" \
    tools/wine-run "$windows/client/client_demo.exe" -- tools/wine-run "$windows/bench/raw_sink.exe" 127.0.0.1 "$port"
done
