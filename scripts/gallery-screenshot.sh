#!/usr/bin/env bash
# Starts the gallery under Wine on a private virtual display, clicks through it
# with the real mouse and keyboard (two rows added and one removed, the sign-in
# page opened and a user name and password typed there, the chat page again, a
# message typed into the edit field, Enter there, which the dialog manager
# turns into IDOK for the window, the message shown by the link, then Tab to
# the About link, which shows its focus cue, and Enter on it), saves the window
# as a PNG and closes it with its own Close button.
#
#   scripts/gallery-screenshot.sh [OUTPUT.png]        (default docs/gallery.png)
#
# BUILD_DIR picks the Windows build folder (default build/windows), which is
# configured and built first unless GALLERY_EXE names the program to run.
# APPEARANCE=dark shoots the dark theme: the prefix's AppsUseLightTheme is 0
# for the run and removed afterwards. APPEARANCE=high-contrast shoots the
# gallery built to report high contrast (gallery_high_contrast.exe).
# THEME=NAME|FOLDER starts the gallery in that theme (--theme).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
output="$(realpath -m "${1:-$root/docs/gallery.png}")"
build="$(realpath -m "${BUILD_DIR:-$root/build/windows}")"

if [ -n "${GALLERY_EXE:-}" ]; then
  exe="$(realpath "$GALLERY_EXE")"
else
  target=gallery
  [ "${APPEARANCE:-light}" = high-contrast ] && target=gallery_high_contrast
  (cd "$root" && cmake --preset windows -B "$build" >/dev/null && cmake --build "$build" -j2 --target "$target" >/dev/null)
  exe="$build/bin/$target.exe"
fi

# Always the build's own Xvfb, never the user's desktop: the picture must not
# depend on a window manager or on other windows.
eval "$(env -u DISPLAY "$root/tools/wine-run" --env "$build")"

# Where the window goes, and the points the script clicks, relative to the
# window (they follow the layout in gallery/gallery.cpp).
origin_x=40
origin_y=40
add_row=(92 377)
remove_first=(236 377)
tab_chat=(61 55)
tab_sign_in=(141 55)
user_edit=(164 174)
message_edit=(476 174)
show_message=(400 210)
close_button=(560 441)
message_text="Hello from xdotool"
user_text="tarnwick"
password_text="walrus"

personalize='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
setLightTheme() {
  if [ "${APPEARANCE:-light}" = dark ]; then
    "${WINELOADER:-wine}" reg "$1" "$personalize" /v AppsUseLightTheme "${@:2}" /f >/dev/null 2>&1 || true
  fi
}
setLightTheme add /t REG_DWORD /d 0

cd "$root"   # the theme's bitmap/ paths are relative to the current directory
themeArguments=()
[ -n "${THEME:-}" ] && themeArguments=(--theme "$THEME")
"$root/tools/wine-run" "$exe" --at "$origin_x,$origin_y" "${themeArguments[@]}" &
gallery=$!
finish() {
  if kill -0 "$gallery" 2>/dev/null; then kill "$gallery" 2>/dev/null || true; fi
  setLightTheme delete
}
trap finish EXIT

window=$(timeout 120 xdotool search --sync --all --onlyvisible --pid "$gallery" --name '^Velmo gallery$' | head -n 1)
[ -n "$window" ] || { echo "gallery-screenshot: the gallery window did not appear" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"   # X, Y, WIDTH, HEIGHT

click() {
  xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1
  sleep 0.4
}

click "${add_row[@]}"
click "${add_row[@]}"
click "${remove_first[@]}"
click "${tab_sign_in[@]}"
click "${user_edit[@]}"
xdotool type --delay 40 "$user_text"
xdotool key Tab
xdotool type --delay 40 "$password_text"
click "${tab_chat[@]}"
click "${message_edit[@]}"
xdotool type --delay 40 "$message_text"
xdotool key Return
sleep 0.4
click "${show_message[@]}"
xdotool key Tab
sleep 0.4
xdotool key Return
sleep 0.4
xdotool mousemove --sync 0 0   # no hover over the window

# Wait until two captures agree (up to a blinking caret) before keeping one.
shot="$(mktemp --suffix=.png)"
previous="$(mktemp --suffix=.png)"
caret_pixels=40
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$previous"
for _ in $(seq 1 20); do
  sleep 0.5
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
  changed=$(compare -metric AE "$previous" "$shot" null: 2>&1 || true)
  [ "${changed%%.*}" -le "$caret_pixels" ] 2>/dev/null && break
  cp "$shot" "$previous"
done
# The desktop shows through outside the rounded corners: make it transparent.
mkdir -p "$(dirname "$output")"
right=$((WIDTH - 1))
bottom=$((HEIGHT - 1))
convert "$shot" -alpha set -fill none \
  -draw "color 0,0 floodfill" -draw "color $right,0 floodfill" \
  -draw "color 0,$bottom floodfill" -draw "color $right,$bottom floodfill" "$output"
rm -f "$shot" "$previous"
echo "gallery-screenshot: saved $output"

click "${close_button[@]}"
for _ in $(seq 1 60); do
  kill -0 "$gallery" 2>/dev/null || break
  sleep 0.5
done
if kill -0 "$gallery" 2>/dev/null; then
  echo "gallery-screenshot: the gallery did not close" >&2
  exit 1
fi
wait "$gallery"
