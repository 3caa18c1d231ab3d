#!/usr/bin/env bash
# Visual regression test of the gallery: clicks through it on the build's Xvfb
# (scripts/gallery-screenshot.sh) and compares the window with the committed
# gallery_reference.png.
#
#   gallery_test.sh BUILD_DIR GALLERY_EXE
#
# Pixels count as different when a channel is off by more than 10 % (absorbs
# anti-aliased text edges); up to 40 such pixels pass (the edit field's caret,
# 13 pixels, blinks). A slice moved by one pixel, a changed colour or a missing
# control each change hundreds. On failure the capture and a picture of the
# differences stay in BUILD_DIR.
#
# After an intended change of the look, refresh the reference and look at it:
#   BUILD_DIR=build/windows scripts/gallery-screenshot.sh tests/velmo/gallery_reference.png
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(realpath "${1:?build folder}")"
reference="$here/gallery_reference.png"
actual="$build/gallery_actual.png"
differences="$build/gallery_differences.png"
fuzz="10%"
allowed_pixels=40

BUILD_DIR="$build" GALLERY_EXE="${2:?gallery program}" "$root/scripts/gallery-screenshot.sh" "$actual"

reference_size=$(identify -format '%wx%h' "$reference")
actual_size=$(identify -format '%wx%h' "$actual")
if [ "$reference_size" != "$actual_size" ]; then
  echo "gallery_test: the window is $actual_size, the reference $reference_size ($actual)" >&2
  exit 1
fi

# compare exits 1 when the pictures differ at all; the count decides.
count=$(compare -metric AE -fuzz "$fuzz" "$reference" "$actual" "$differences" 2>&1 || true)
count=$(printf '%.0f' "$count")
echo "gallery_test: $count pixels differ by more than $fuzz (at most $allowed_pixels allowed)"
if [ "$count" -gt "$allowed_pixels" ]; then
  echo "gallery_test: see $actual and $differences" >&2
  exit 1
fi
rm -f "$actual" "$differences"
