#!/usr/bin/env bash
# Installs what is missing, builds both configurations and shows the programs at work.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

# The client: the demo server on loopback plays its short conversation to the
# native client and then to client.exe under Wine, both built for loopback
# (client_demo; `client` itself is built for the network's real server).
native_build=build/native
windows_build=build/windows
server_log="$(mktemp)"
trap 'rm -f "$server_log"; tools/wine-run --stop "$windows_build"' EXIT

demo_port() {
  sed -n 's/^MARROWBY_DEMO_PORT:[A-Z]*=//p' "$1/CMakeCache.txt"
}

# show_client TITLE BUILD COMMAND...: one conversation, the client's output and
# exit status, then what the demo server reported.
show_client() {
  local title=$1 port status=0 server
  port=$(demo_port "$2")
  shift 2
  echo
  echo "=== client: $title, talking to the demo server on 127.0.0.1:$port ==="
  "$native_build/tools/demo-server/demo-server" 127.0.0.1 "$port" >"$server_log" &
  server=$!
  until grep -q listening "$server_log"; do
    kill -0 "$server" 2>/dev/null || { cat "$server_log"; return 1; }
    sleep 0.1
  done
  timeout 300 "$@" || status=$?
  wait "$server" || true
  echo "=== exit status $status; the demo server's own output: ==="
  cat "$server_log"
}

show_client "native" "$native_build" "$native_build/client/client_demo"
show_client "client.exe under Wine" "$windows_build" tools/wine-run "$windows_build/client/client_demo.exe"

# The gallery. On a desktop (a DISPLAY that is not the build's own Xvfb) its
# window opens there and the demo waits until it is closed; without one the
# gallery is clicked through on the Xvfb and saved as build/windows/gallery.png
# (scripts/gallery-screenshot.sh alone refreshes the committed docs/gallery.png).
gallery_build=build/windows
gallery_xvfb=""
if [ -f "$gallery_build/wineprefix.xvfb" ]; then
  gallery_xvfb=":$(cut -d' ' -f2 "$gallery_build/wineprefix.xvfb")"
fi
echo
if [ -n "${DISPLAY:-}" ] && [ "$DISPLAY" != "$gallery_xvfb" ]; then
  echo "=== gallery: on your display; close it with its Close button to end the demo ==="
  tools/wine-run "$gallery_build/bin/gallery.exe"
else
  echo "=== gallery: no desktop; clicking through it on Xvfb ==="
  BUILD_DIR="$gallery_build" GALLERY_EXE="$gallery_build/bin/gallery.exe" scripts/gallery-screenshot.sh "$gallery_build/gallery.png"
fi
