#!/usr/bin/env bash
# HEIC benchmark: COUNT phone-like HEIC photos of 4000 x 3000 (12 megapixels), made
# with libvips and libheif's encoder from a few drawn scenes (each scene encoded once
# and copied under several names: decoding, the part measured, is done for every file).
# Then, interleaved round by round and best of REPEAT:
#   - Quorvale's HTML run into an empty Publishing Directory (thumbnails of 512 and
#     display copies of 2048, the originals published);
#   - Debian's vipsthumbnail making the same two sizes of the same files, as two
#     processes over halves of the set, so both cores work.
# Prints both times and their ratio. A measurement, not a test: run it on its own.
#
#   bench/heic_bench.sh [BUILD_DIR] [COUNT]         defaults: build 50
#   PICTURES=DIR keeps the made photos in DIR and reuses them next time.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
COUNT=${2:-50}
REPEAT=${REPEAT:-3}
SCENES=5

for tool in convert vips vipsthumbnail /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "heic_bench: $tool is needed (apt-get install imagemagick libvips-tools time)" >&2; exit 2; }
done
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target quorvale-cli quorvale_vips make_project -j2 >/dev/null
CLI=$BUILD/bin/quorvale-cli

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorvale-heic-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
. "$ROOT/bench/bench_common.sh"
PICTURES=${PICTURES:-$WORK/pictures}
machine
echo "work folder: $WORK"

if [ "$(find "$PICTURES" -type f -name '*.heic' 2>/dev/null | wc -l)" -ne "$COUNT" ]; then
  echo "making $COUNT HEIC photos of 4000 x 3000 into $PICTURES ..."
  rm -rf "$PICTURES"; mkdir -p "$PICTURES"
  seq 0 $((SCENES - 1)) | xargs -P "$(nproc)" -I{} sh -c \
    'convert -seed {} -size 4000x3000 plasma:fractal -blur 0x1 "$0/scene{}.ppm" &&
     vips heifsave "$0/scene{}.ppm" "$0/scene{}.heic" --Q 50 && rm "$0/scene{}.ppm"' "$PICTURES"
  for ((i = 0; i < COUNT; i++)); do cp "$PICTURES/scene$((i % SCENES)).heic" "$(printf '%s/IMG_%04d.heic' "$PICTURES" "$i")"; done
  rm -f "$PICTURES"/scene*.heic
fi
mapfile -t FILES < <(find "$PICTURES" -type f -name '*.heic' | sort)
echo "photos: ${#FILES[@]}, $(du -sm "$PICTURES" | cut -f1) MB"

"$BUILD/bin/make_project" "$WORK/site.qs1" "$WORK/site" --album "Phone" "${FILES[@]}"
QUORVALE=("$CLI" generate "$WORK/site.qs1" --viewer html)
printf '%s\n' "${FILES[@]}" >"$WORK/files"
vipsthumbnail_halves "$WORK/files" "$WORK/vt" 512 2048

for ((round = 0; round < REPEAT; round++)); do
  echo "round $((round + 1)) of $REPEAT ..."
  sample quorvale      'rm -rf "$WORK/site"; mkdir "$WORK/site"' "${QUORVALE[@]}"
  sample vipsthumbnail 'rm -rf "$WORK/vt"'                        "${VIPSTHUMBNAIL[@]}"
done

echo
echo "timing, best of $REPEAT rounds ($COUNT HEIC photos of 12 megapixels):"
for name in quorvale vipsthumbnail; do report "$name"; done
echo
echo "ratios (wall, processor):"
ratio_line "quorvale HTML run / two vipsthumbnail" quorvale vipsthumbnail
