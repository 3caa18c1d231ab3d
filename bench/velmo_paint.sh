#!/usr/bin/env bash
# Builds the Windows configurations' paint benchmark and runs it under Wine
# from the source root (the library loads its theme from bitmap/ there): the
# median paint time of each skinned control next to the platform's own
# control, and the load time of velmo.dll, one table per flavour.
#
#   bench/velmo_paint.sh [windows|windows64]... [PAINTS]
#
# The flavours are the presets: windows (32-bit Wine) and windows64 (64-bit
# Wine), both when none is named; PAINTS sets the paints per control. BUILD_DIR
# overrides the build folder when one flavour is named (default build/<preset>,
# where the benchmarks are then switched on beside the tests). DPI=144 or
# DPI=192 runs it at that DPI, in the build's Wine prefix for it
# (wineprefix-dpi<DPI>, as the display-scaling tests make it). THEME=NAME paints
# the table in that theme (useTheme). After the table it times useTheme with 50
# controls shown against a full repaint of them, and counts the repaints that
# pointer moves within one control cause.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

flavours=()
arguments=()
for argument in "$@"; do
  case "$argument" in
    windows|windows64) flavours+=("$argument") ;;
    *) arguments+=("$argument") ;;
  esac
done
[ ${#flavours[@]} -gt 0 ] || flavours=(windows windows64)
if [ -n "${BUILD_DIR:-}" ] && [ ${#flavours[@]} -gt 1 ]; then
  echo "velmo_paint.sh: BUILD_DIR needs one flavour" >&2
  exit 2
fi

for flavour in "${flavours[@]}"; do
  build="$(realpath -m "${BUILD_DIR:-$root/build/$flavour}")"
  cmake --preset "$flavour" -B "$build" -DMARROWBY_BENCHMARKS=ON >/dev/null
  cmake --build "$build" -j2 --target velmo_paint_bench >/dev/null
  if [ -n "${DPI:-}" ]; then
    export MARROWBY_WINEPREFIX="$build/wineprefix-dpi$DPI"
    bash tests/velmo/dpi_prefix.sh "$build" "$DPI"
  fi
  echo "== $flavour =="
  themeArguments=()
  [ -n "${THEME:-}" ] && themeArguments=(--theme "$THEME")
  tools/wine-run "$build/bin/velmo_paint_bench.exe" "${themeArguments[@]}" "${arguments[@]}"
  echo
done
