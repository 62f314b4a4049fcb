#!/usr/bin/env bash
# Scale benchmark: a project of ALBUMS albums of PICTURES small pictures each (distinct
# JPEGs of 160 x 120, made in seconds from a few drawn ones), generated with both
# viewers. For each viewer it prints, beside floors measured in the same rounds:
#   - the first run into an empty Publishing Directory against `cp -rp` of the pictures
#     and, for HTML, two vipsthumbnail processes making the images the run makes of a
#     160 x 120 picture (a square thumbnail of 120 cut by attention, as JPEG and WebP, and
#     a WebP display copy; the original serves as the JPEG one), and, as before, two
#     making only a 512 thumbnail and a 2048 display copy as JPEG;
#   - the unchanged re-run against `rsync -a`'s quick check of an unchanged copy;
#   - the bytes the re-run wrote to storage, and the peak memory of both runs;
#   - the time of `quorvale-cli check` (the project loaded, every picture looked up).
# A measurement, not a test: run it on its own.
#
#   bench/scale_bench.sh [BUILD_DIR] [ALBUMS] [PICTURES]     defaults: build 1000 100
#   REPEAT (default 10) rounds of the re-runs; FIRST_REPEAT (default 1) of the first runs.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
ALBUMS=${2:-1000}
PICTURES=${3:-100}
REPEAT=${REPEAT:-10}
FIRST_REPEAT=${FIRST_REPEAT:-1}
((PICTURES <= 100)) || { echo "scale_bench: an album holds at most 100 pictures" >&2; exit 2; }

for tool in convert perl vipsthumbnail rsync cp /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "scale_bench: $tool is needed (apt-get install imagemagick perl libvips-tools rsync time)" >&2; exit 2; }
done
# A build tree is brought up to date; a folder holding only a built bin/ is taken as it is.
if [ -f "$BUILD/CMakeCache.txt" ] || [ ! -x "$BUILD/bin/quorvale-cli" ]; then
  [ -f "$BUILD/CMakeCache.txt" ] || cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD" --target quorvale-cli quorvale_vips torvexa_viewer html_viewer -j2 >/dev/null
fi
CLI=$BUILD/bin/quorvale-cli

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorvale-scale-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
. "$ROOT/bench/bench_common.sh"
machine
echo "work folder: $WORK"

# --- The pictures: eight drawn JPEGs; each picture one of them with its own number in a
# comment segment right after the start marker, so every file is distinct and decodes.
echo "making $ALBUMS x $PICTURES pictures ..."
started=$(date +%s.%N)
for seed in 0 1 2 3 4 5 6 7; do
  convert -seed "$seed" -size 160x120 plasma:fractal -quality 85 "$WORK/base$seed.jpg"
done
perl -e '
  my ($work, $albums, $pictures) = @ARGV;
  my @bases = map { local $/; open my $in, "<:raw", "$work/base$_.jpg" or die; scalar <$in> } 0 .. 7;
  for my $a (0 .. $albums - 1) {
    my $folder = sprintf "%s/pictures/album%04d", $work, $a;
    mkdir "$work/pictures"; mkdir $folder or die "$folder: $!";
    for my $p (0 .. $pictures - 1) {
      my $base = $bases[($a * $pictures + $p) % 8];
      open my $out, ">:raw", sprintf("%s/a%04dp%02d.jpg", $folder, $a, $p) or die;
      print $out substr($base, 0, 2), "\xff\xfe\x00\x0a", sprintf("%08d", $a * $pictures + $p), substr($base, 2);
    }
  }' "$WORK" "$ALBUMS" "$PICTURES"
find "$WORK/pictures" -type f | sort >"$WORK/files"
echo "pictures: $(wc -l <"$WORK/files") files, $(du -sm "$WORK/pictures" | cut -f1) MB, made in $(awk -v s="$started" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }') s"

for viewer in html java; do
  mkdir -p "$WORK/site-$viewer"
  "$CLI" import "$WORK/$viewer.qs1" "$WORK"/pictures/album* --publish-dir "$WORK/site-$viewer" --viewer "$viewer" >/dev/null
done
vipsthumbnail_halves "$WORK/files" "$WORK/vt" '512x512>' '2048x2048>'
vipsthumbnail_passes VIPSTHUMBNAIL_SAME "$WORK/files" "$WORK/vts" \
  "t|-s 120x120 --smartcrop attention|jpg[Q=82,strip]" "t|-s 120x120 --smartcrop attention|webp[Q=80,effort=2,strip]" \
  "d|-s '2048x2048>'|webp[Q=80,effort=2,strip]"
sync

# --- First runs, then unchanged re-runs, the floors taking turns with Quorvale.
for ((round = 0; round < FIRST_REPEAT; round++)); do
  echo "first runs, round $((round + 1)) of $FIRST_REPEAT ..."
  sample html_first    'rm -rf "$WORK/site-html"; mkdir "$WORK/site-html"' "$CLI" generate "$WORK/html.qs1"
  sample vipsthumbnail 'rm -rf "$WORK/vt"' "${VIPSTHUMBNAIL[@]}"
  sample vipsthumbnail_same 'rm -rf "$WORK/vts"' "${VIPSTHUMBNAIL_SAME[@]}"
  sample java_first    'rm -rf "$WORK/site-java"; mkdir "$WORK/site-java"' "$CLI" generate "$WORK/java.qs1"
  sample cp_first      'rm -rf "$WORK/cp"' cp -rp "$WORK/pictures" "$WORK/cp"
done
rsync -a "$WORK/pictures/" "$WORK/rsync/"
for ((round = 0; round < REPEAT; round++)); do
  echo "unchanged re-runs, round $((round + 1)) of $REPEAT ..."
  sample html_rerun   ':' "$CLI" generate "$WORK/html.qs1"
  sample java_rerun   ':' "$CLI" generate "$WORK/java.qs1"
  sample rsync_rerun  ':' rsync -a "$WORK/pictures/" "$WORK/rsync/"
  sample check        ':' "$CLI" check "$WORK/html.qs1"
done
html_written=$(written_bytes "$CLI" generate "$WORK/html.qs1")
java_written=$(written_bytes "$CLI" generate "$WORK/java.qs1")
rsync_written=$(written_bytes rsync -a "$WORK/pictures/" "$WORK/rsync/")

echo
echo "timing ($ALBUMS albums x $PICTURES pictures; first runs best of $FIRST_REPEAT, re-runs best of $REPEAT):"
for name in html_first vipsthumbnail_same vipsthumbnail java_first cp_first html_rerun java_rerun rsync_rerun check; do report "$name"; done
echo "ratios                                           wall    cpu"
ratio_line "HTML first run / two vipsthumbnail, same images" html_first vipsthumbnail_same "target <= 1.10"
ratio_line "HTML first run / two vipsthumbnail, 512 + 2048" html_first vipsthumbnail
ratio_line "HTML first run / cp -rp" html_first cp_first
ratio_line "Torvexa first run / cp -rp" java_first cp_first
ratio_line "HTML unchanged re-run / rsync -a" html_rerun rsync_rerun "target <= 1.00"
ratio_line "Torvexa unchanged re-run / rsync -a" java_rerun rsync_rerun "target <= 1.00"
ratio_line "check / rsync -a" check rsync_rerun
echo "bytes written by an unchanged re-run: HTML $html_written, Torvexa $java_written, rsync -a $rsync_written   target 0 (the log's entry aside)"
echo "peak memory: HTML first $((RSS_html_first / 1024)) MB, re-run $((RSS_html_rerun / 1024)) MB; Torvexa first $((RSS_java_first / 1024)) MB, re-run $((RSS_java_rerun / 1024)) MB; check $((RSS_check / 1024)) MB"
