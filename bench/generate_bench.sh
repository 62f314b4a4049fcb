#!/usr/bin/env bash
# Generation benchmark: a project of ALBUMS x PICTURES distinct pictures of SIZE bytes,
# generated twice with quorvale-cli (a first run into an empty Publishing Directory and
# a second, unchanged run), next to `cp -rp` and `rsync -a` of the same picture tree
# (each run twice as well). Prints the times, the four ratios and the peak memory of
# the generator. A measurement, not a test: run it on its own.
#
#   bench/generate_bench.sh [BUILD_DIR] [ALBUMS] [PICTURES] [SIZE]
#   defaults: build 100 100 20480
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
ALBUMS=${2:-100}
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
for f in PhotoAlbum.class AlbumControlPanel.class AlbumNavigationPanel.class AlbumLeaf.class \
         ShadowArea.class LeafPicture.class rmInfo.class IndexPanel.class albumPictureButton.class \
         myPictureButton.class BannerPanel.class photo_album.gif spiral.gif Torvexa_logo_long.jpg \
         Torvexa_logo_long_blk.jpg; do
  head -c 4096 /dev/urandom >"$WORK/viewer/$f"
done
"$MAKE_PROJECT" "$WORK/bench.qs1" "$WORK/site" "${args[@]}"
sync

# sample NAME PREPARE COMMAND...: runs PREPARE (untimed, through eval) and then COMMAND
# once, keeping the best wall-clock seconds in TIME_<NAME>, the best processor seconds
# (user + system) in CPU_<NAME> and the largest peak memory (KB) in RSS_<NAME>. The
# commands being compared take turns within each round, so a slow spell of a shared
# machine hits them alike; the best of REPEAT rounds counts.
REPEAT=${REPEAT:-3}
sample() {
  local name=$1 prepare=$2; shift 2
  local seconds user system rss cpu best_wall best_cpu peak
  eval "$prepare"
  sync
  /usr/bin/time -f "%e %U %S %M" -o "$WORK/time.$name" "$@" >/dev/null 2>"$WORK/err.$name" || {
    # quorvale-cli exits 1 when the run had errors or warnings: that would spoil the comparison.
    echo "$name failed:" >&2; tail -5 "$WORK/err.$name" >&2; exit 1
  }
  read -r seconds user system rss <"$WORK/time.$name"
  cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
  best_wall=TIME_$name best_cpu=CPU_$name peak=RSS_$name
  printf -v "$best_wall" '%s' "$(awk -v a="$seconds" -v b="${!best_wall:-$seconds}" 'BEGIN { print (a < b ? a : b) }')"
  printf -v "$best_cpu" '%s' "$(awk -v a="$cpu" -v b="${!best_cpu:-$cpu}" 'BEGIN { print (a < b ? a : b) }')"
  ((rss > ${!peak:-0})) && printf -v "$peak" '%s' "$rss"
  return 0
}
report() {
  local wall=TIME_$1 cpu=CPU_$1 peak=RSS_$1
  printf '  %-16s wall %6.2f s   cpu %6.2f s   peak %7d KB\n' "$1" "${!wall}" "${!cpu}" "${!peak}"
}

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

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 0.01; printf "%5.2f", a / b }'; }
echo "ratios (generator / reference)             wall    cpu"
echo "  first run  / cp -rp (first)            $(ratio "$TIME_generate_first" "$TIME_cp_first")  $(ratio "$CPU_generate_first" "$CPU_cp_first")   target <= 1.20"
echo "  first run  / rsync -a (first)          $(ratio "$TIME_generate_first" "$TIME_rsync_first")  $(ratio "$CPU_generate_first" "$CPU_rsync_first")"
echo "  second run / cp -rp (second)           $(ratio "$TIME_generate_second" "$TIME_cp_second")  $(ratio "$CPU_generate_second" "$CPU_cp_second")"
echo "  second run / rsync -a (second)         $(ratio "$TIME_generate_second" "$TIME_rsync_second")  $(ratio "$CPU_generate_second" "$CPU_rsync_second")   target <= 1.00"
echo "generator peak memory: first run $RSS_generate_first KB, second run $RSS_generate_second KB"
