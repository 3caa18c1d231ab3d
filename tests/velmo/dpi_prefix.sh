#!/usr/bin/env bash
# Readies the Wine prefix named by MARROWBY_WINEPREFIX for the build folder $1
# (made by tools/wine-run on first use) with its screen at $2 DPI. Wine reads
# LogPixels when a process starts, so the session is ended: every process
# started afterwards runs at that DPI.
set -euo pipefail
eval "$("$(dirname "$0")/../../tools/wine-run" --env "$1")"
"${WINELOADER:-wine}" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null
wineserver -k || true
