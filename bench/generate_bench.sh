#!/usr/bin/env bash
# Generation benchmark: a project of ALBUMS x PICTURES distinct pictures of SIZE bytes,
# generated twice with quorvale-cli (a first run into an empty Publishing Directory and
# a second, unchanged run), next to `cp -rp` and `rsync -a` of the same picture tree
# (each run twice as well). Prints the times, the four ratios and the peak memory of
# the generator. A measurement, not a test: run it on its own.
#
#   bench/generate_bench.sh [BUILD_DIR] [ALBUMS] [PICTURES] [SIZE]
#   defaults: build 30 100 20480
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
ALBUMS=${2:-30}
PICTURES=${3:-100}
SIZE=${4:-20480}

for tool in rsync cp split /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "generate_bench: $tool is needed" >&2; exit 2; }
done
if [ ! -x "$BUILD/bin/quorvale-cli" ] || [ ! -x "$BUILD/bin/make_project" ]; then
  [ -f "$BUILD/CMakeCache.txt" ] || cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD" --target quorvale-cli make_project -j2 >/dev/null
fi
CLI=$BUILD/bin/quorvale-cli
MAKE_PROJECT=$BUILD/bin/make_project

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorvale-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
. "$ROOT/bench/bench_common.sh"
machine
echo "work folder: $WORK"

# --- The pictures: distinct random contents, one folder per album.
echo "creating $ALBUMS x $PICTURES pictures of $SIZE bytes ..."
args=()
for ((a = 0; a < ALBUMS; a++)); do
  dir=$WORK/pictures/album$(printf %03d "$a")
  mkdir -p "$dir"
  head -c $((SIZE * PICTURES)) /dev/urandom | split -b "$SIZE" -d -a 4 --additional-suffix=.jpg - "$dir/pic"
  args+=(--album "Album $a")
  for ((p = 0; p < PICTURES; p++)); do args+=("$dir/pic$(printf %04d "$p").jpg"); done
done
mkdir -p "$WORK/viewer" "$WORK/site"
"$MAKE_PROJECT" --viewer-files "$WORK/viewer"
"$MAKE_PROJECT" "$WORK/bench.qs1" "$WORK/site" "${args[@]}"
sync

REPEAT=${REPEAT:-3}
GENERATE=("$CLI" generate "$WORK/bench.qs1" --viewer-source "$WORK/viewer")
for ((round = 0; round < REPEAT; round++)); do
  sample cp_first        'rm -rf "$WORK/cp"'                        cp -rp "$WORK/pictures" "$WORK/cp"
  sample rsync_first     'rm -rf "$WORK/rsync"'                     rsync -a "$WORK/pictures/" "$WORK/rsync/"
  sample generate_first  'rm -rf "$WORK/site"; mkdir "$WORK/site"' "${GENERATE[@]}"
  sample cp_second       ':' cp -rp "$WORK/pictures/." "$WORK/cp"
  sample rsync_second    ':' rsync -a "$WORK/pictures/" "$WORK/rsync/"
  sample generate_second ':' "${GENERATE[@]}"
done
echo "timing, best of $REPEAT rounds (each picture tree $((ALBUMS * PICTURES)) files, $((ALBUMS * PICTURES * SIZE / 1048576)) MB):"
for name in cp_first cp_second rsync_first rsync_second generate_first generate_second; do report "$name"; done

copied=$(find "$WORK/site/PhotoAlbum/images" -type f | wc -l)
[ "$copied" -eq $((ALBUMS * PICTURES)) ] || { echo "only $copied pictures were published" >&2; exit 1; }

echo "ratios (generator / reference)                   wall    cpu"
ratio_line "first run  / cp -rp (first)" generate_first cp_first "target <= 1.20"
ratio_line "first run  / rsync -a (first)" generate_first rsync_first
ratio_line "second run / cp -rp (second)" generate_second cp_second
ratio_line "second run / rsync -a (second, unchanged)" generate_second rsync_second "target <= 1.00"
echo "generator peak memory: first run $RSS_generate_first KB, second run $RSS_generate_second KB"
