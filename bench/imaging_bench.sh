#!/usr/bin/env bash
# Imaging benchmark: COUNT distinct camera-like JPEGs of about 12 megapixels (drawn with
# ImageMagick; a few carry an EXIF orientation, a few are GIFs), in albums of 100. Then,
# interleaved round by round and best of REPEAT:
#   - Quorvale's first run into an empty Publishing Directory and its second, unchanged
#     run (square thumbnails of 256, 512 and 768 cut by attention, display copies of
#     1024, 1600 and 2048, each as JPEG and WebP; the originals published);
#   - Debian's vipsthumbnail making the same sizes and formats of the same pictures, as
#     two processes over halves of the set, so both cores work; and, as before, making
#     only a 512 thumbnail and a 2048 display copy as JPEG;
#   - cp -rp of the pictures, and rsync -a's quick check of an unchanged copy.
# Prints times, ratios, peak memory, and how many pictures the second run opened; then
# the bytes the first album page makes a desktop and a phone load before any action
# (bench/page_weight.js, in Chromium), and with BEFORE_CLI the same of a site made by
# that (earlier) quorvale-cli. A measurement, not a test: run it on its own.
#
#   bench/imaging_bench.sh [BUILD_DIR] [COUNT]         defaults: build 200
#   PICTURES=DIR keeps the drawn pictures in DIR and reuses them next time.
#   BEFORE_CLI=PATH also weighs the album page of a site made by that quorvale-cli.
#
# Quorvale's run is `quorvale-cli generate --viewer html` where the command line knows
# that viewer, else the image part of such a run through bench/imaging_bench_driver.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
COUNT=${2:-200}
REPEAT=${REPEAT:-3}
PER_ALBUM=100

for tool in convert vipsthumbnail rsync cp strace /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "imaging_bench: $tool is needed (apt-get install imagemagick libvips-tools rsync strace time)" >&2; exit 2; }
done
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target quorvale-cli make_project imaging_bench_driver -j2 >/dev/null
CLI=$BUILD/bin/quorvale-cli

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorvale-imaging-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
. "$ROOT/bench/bench_common.sh"
PICTURES=${PICTURES:-$WORK/pictures}
machine
echo "work folder: $WORK"

# --- The pictures: a few large plasma fractals, then each picture a distinct roll and
# colour turn of one of them, 4000 x 3000, JPEG quality 92. Every 25th gets an EXIF
# orientation of 6 (a portrait shot stored landscape); every 40th is a GIF of 1600 x 1200.
EXIF_ORIENTATION_6='\xff\xe1\x00\x22Exif\x00\x00MM\x00\x2a\x00\x00\x00\x08\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00\x00\x00\x00\x00'
draw_picture() {  # INDEX
  local i=$1 album dir base name
  album=$((i / PER_ALBUM)); dir=$PICTURES/album$album; base=$PICTURES/base$((i % 6)).ppm
  name=$(printf 'pic%04d' "$i")
  if ((i % 40 == 39)); then
    convert "$base" -roll +$((i * 37))+$((i * 53)) -modulate 100,$((80 + i % 40)),$((60 + i % 80)) -resize 1600x1200 "$dir/$name.gif"
  elif ((i % 25 == 24)); then
    convert "$base" -roll +$((i * 37))+$((i * 53)) -modulate 100,$((80 + i % 40)),$((60 + i % 80)) -quality 92 "jpg:$dir/$name.tmp"
    { head -c 2 "$dir/$name.tmp"; printf "$EXIF_ORIENTATION_6"; tail -c +3 "$dir/$name.tmp"; } >"$dir/$name.jpg"
    rm "$dir/$name.tmp"
  else
    convert "$base" -roll +$((i * 37))+$((i * 53)) -modulate 100,$((80 + i % 40)),$((60 + i % 80)) -quality 92 "$dir/$name.jpg"
  fi
}
export -f draw_picture
export PICTURES PER_ALBUM EXIF_ORIENTATION_6
if [ "$(find "$PICTURES" -type f \( -name '*.jpg' -o -name '*.gif' \) 2>/dev/null | wc -l)" -ne "$COUNT" ]; then
  echo "drawing $COUNT pictures of 4000 x 3000 into $PICTURES ..."
  rm -rf "$PICTURES"; mkdir -p "$PICTURES"
  for ((a = 0; a < (COUNT + PER_ALBUM - 1) / PER_ALBUM; a++)); do mkdir -p "$PICTURES/album$a"; done
  for b in 0 1 2 3 4 5; do echo "$b"; done |
    xargs -P "$(nproc)" -I{} convert -seed {} -size 4000x3000 plasma:fractal -blur 0x1 "$PICTURES/base{}.ppm"
  seq 0 $((COUNT - 1)) | xargs -P "$(nproc)" -I{} bash -c 'draw_picture {}'
  rm -f "$PICTURES"/base*.ppm
fi
mapfile -t ALBUMS < <(find "$PICTURES" -mindepth 1 -maxdepth 1 -type d | sort)
mapfile -t FILES < <(find "$PICTURES" -type f | sort)
echo "pictures: ${#FILES[@]} in ${#ALBUMS[@]} albums, $(du -sm "$PICTURES" | cut -f1) MB"

# --- Quorvale's run: the command line's HTML viewer when it has one, else the driver.
# quorvale_command ARRAY SITE ALBUM_FOLDER...: the command that generates those albums.
if "$CLI" generate --help | grep -qE -- '--viewer([^-]|$)'; then
  echo "quorvale: quorvale-cli generate --viewer html"
  quorvale_command() {
    local -n command=$1; local site=$2; shift 2
    local args=() album in_album
    for album in "$@"; do
      args+=(--album "$(basename "$album")"); mapfile -t in_album < <(find "$album" -type f | sort); args+=("${in_album[@]}")
    done
    "$BUILD/bin/make_project" "$site.qs1" "$site" "${args[@]}"
    command=("$CLI" generate "$site.qs1" --viewer html)
  }
else
  echo "quorvale: bench/imaging_bench_driver (the image part of a run; quorvale-cli has no --viewer html yet)"
  quorvale_command() {
    local -n command=$1; local site=$2; shift 2
    command=("$BUILD/bin/imaging_bench_driver" "$site" "$@")
  }
fi
quorvale_command QUORVALE "$WORK/site" "${ALBUMS[@]}"
quorvale_command QUORVALE_HALF "$WORK/half-site" "${ALBUMS[0]}"

# vipsthumbnail over each half of the pictures: both sizes, the same qualities, no metadata.
printf '%s\n' "${FILES[@]}" >"$WORK/files"
vipsthumbnail_halves "$WORK/files" "$WORK/vt" 512 2048

# The same over every size and format a run makes: each display box and each square
# thumbnail side (cut by attention) as JPEG and as WebP, one vipsthumbnail pass apiece.
passes=()
for box in 1024 1600 2048; do
  passes+=("d$box|-s $box|jpg[Q=85,strip]" "d$box|-s $box|webp[Q=80,effort=2,strip]")
done
for side in 256 512 768; do
  passes+=("t$side|-s ${side}x$side --smartcrop attention|jpg[Q=82,strip]"
           "t$side|-s ${side}x$side --smartcrop attention|webp[Q=80,effort=2,strip]")
done
vipsthumbnail_passes VIPSTHUMBNAIL_ALL "$WORK/files" "$WORK/vta" "${passes[@]}"

for ((round = 0; round < REPEAT; round++)); do
  echo "round $((round + 1)) of $REPEAT ..."
  sample quorvale_first  'rm -rf "$WORK/site"; mkdir "$WORK/site"' "${QUORVALE[@]}"
  sample vipsthumbnail   'rm -rf "$WORK/vt"'                        "${VIPSTHUMBNAIL[@]}"
  sample vipsthumbnail_all 'rm -rf "$WORK/vta"'                      "${VIPSTHUMBNAIL_ALL[@]}"
  sample cp_first        'rm -rf "$WORK/cp"'                        cp -rp "$PICTURES" "$WORK/cp"
  sample quorvale_second ':'                                         "${QUORVALE[@]}"
  sample rsync_second    '[ -d "$WORK/rsync" ] || rsync -a "$PICTURES/" "$WORK/rsync/"' rsync -a "$PICTURES/" "$WORK/rsync/"
done

# What the second run opened: no picture, and how many files at all.
strace -f -qq -e trace=openat -o "$WORK/strace.second" "${QUORVALE[@]}" >/dev/null 2>&1
opened_pictures=$(grep -F "\"$PICTURES/" "$WORK/strace.second" | grep -cE '\.(jpg|gif)"' || true)
opened_all=$(grep -c 'openat(' "$WORK/strace.second" || true)

# Peak memory with half the pictures: it should not grow with their number.
sample quorvale_half 'rm -rf "$WORK/half-site"; mkdir "$WORK/half-site"' "${QUORVALE_HALF[@]}"

thumbs=$(find "$WORK/site/PhotoAlbum/thumbnails" -type f -name '*.jpg' | wc -l)
echo
echo "timing, best of $REPEAT rounds ($COUNT pictures):"
for name in quorvale_first vipsthumbnail_all vipsthumbnail cp_first quorvale_second rsync_second; do report "$name"; done
echo "ratios                                           wall    cpu"
ratio_line "first run  / two vipsthumbnail, same sizes" quorvale_first vipsthumbnail_all "target <= 1.10"
ratio_line "first run  / two vipsthumbnail, 512 + 2048" quorvale_first vipsthumbnail
ratio_line "first run  / cp -rp" quorvale_first cp_first
ratio_line "second run / rsync -a (unchanged)" quorvale_second rsync_second "target <= 1.00"
echo "second run opened $opened_pictures pictures ($opened_all files in all)   target 0"
echo "peak memory: first run $((RSS_quorvale_first / 1024)) MB for $COUNT pictures, $((RSS_quorvale_half / 1024)) MB for the first album alone; vipsthumbnail $((RSS_vipsthumbnail / 1024)) MB   target < 400 MB"
echo "thumbnail files made: $thumbs JPEG, $(find "$WORK/site/PhotoAlbum/thumbnails" -type f -name '*.webp' | wc -l) WebP"

# --- What a visitor's browser loads for the first album page, before any action.
if [ -f "$WORK/site/album-0.htm" ] && command -v node >/dev/null && [ -d "$BUILD/tests/e2e/node_modules/playwright-core" ]; then
  export NODE_PATH=$BUILD/tests/e2e/node_modules
  echo
  echo "album-0.htm ($PER_ALBUM pictures), bytes loaded before any action:"
  if [ -n "${BEFORE_CLI:-}" ]; then
    mkdir -p "$WORK/before"
    quorvale_command BEFORE "$WORK/before" "${ALBUMS[0]}"
    BEFORE[0]=$BEFORE_CLI
    "${BEFORE[@]}" >/dev/null 2>&1
    echo " before ($BEFORE_CLI):"
    node "$ROOT/bench/page_weight.js" "$WORK/before"
    echo " now:"
  fi
  node "$ROOT/bench/page_weight.js" "$WORK/site"
else
  echo "page weight skipped: no HTML site, node, or $BUILD/tests/e2e/node_modules (run the e2e tests once)"
fi
