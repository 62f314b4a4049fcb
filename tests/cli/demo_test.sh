#!/usr/bin/env bash
# The demo that `make run` shows on a machine without a display: the three drawn
# folders become a project whose site, made with the HTML viewer, ends without errors
# or warnings and shows a thumbnail of every picture.
set -u
repo="$1"
build="$2"
source "$(dirname "${BASH_SOURCE[0]}")/expect.sh"

"$repo/tools/make-demo.sh" "$build" "$work/site" "$work/Demo.qs1" > "$work/out.txt" 2> "$work/err.txt"
expect "demo script exit" 0 $?
expect "success message" "GENERATION COMPLETED SUCCESSFULLY!!" "$(sed -n 2p "$work/err.txt")"
expect "access URL printed" "  $work/site/PhotoAlbum.htm" "$(grep -A1 'access URL' "$work/out.txt" | tail -1)"
expect "three album pages" "album-0.htm album-1.htm album-2.htm" \
  "$(cd "$work/site" && ls album-*.htm | sort | paste -sd' ')"
expect "twelve pictures published" 12 "$(find "$work/site/PhotoAlbum/images" -type f | wc -l)"
expect "the HTML viewer" "HTML" "$(sed -n 's/^\x85~//p' "$work/Demo.qs1" | tr -d '\r')"
expect "twelve thumbnails made" 12 "$(find "$work/site/PhotoAlbum/thumbnails" -name '*-256.jpg' | wc -l)"
expect "albums listed in order" "Seaside Weekend|Autumn Garden|Mountain Trail" \
  "$(grep -o 'class="album-title">[^<>]*<' "$work/site/PhotoAlbum.htm" | sed 's/^[^>]*>//; s/<$//' | paste -sd'|')"
expect "no error or warning in the transcript" 0 "$(grep -c -E 'ERROR|WARNING' "$work/site.transcript.txt")"

finish
