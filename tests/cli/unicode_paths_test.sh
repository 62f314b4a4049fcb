#!/usr/bin/env bash
# Names outside ASCII, both ways through the system: a folder "Wycieczka Łódź" with
# "café.jpg" imported, generated into "My Web Site/Été 2026" twice and cleared. The
# picture holds LF, CR and 0x1A bytes, so a copy that is not byte for byte shows.
set -u
cli="$1"
make_project="$2"
source "$(dirname "${BASH_SOURCE[0]}")/expect.sh"
cd "$work"

pictures="$work/Wycieczka Łódź"
site="$work/My Web Site/Été 2026"
viewer="$work/viewer"
mkdir -p "$pictures" "$site" "$viewer"
printf '\xff\xd8\xffJFIF\n\r\n\x1a\x00after the end-of-file byte\r' > "$pictures/café.jpg"
# Seven digits of fraction: Windows keeps times in steps of 100 ns.
touch -d '2026-07-14 10:20:30.1234567' "$pictures/café.jpg"
"$make_project" --viewer-files "$viewer" || { echo "FAIL: make_project --viewer-files"; exit 1; }

"$cli" import "Lato.qs1" "$pictures" --publish-dir "$site" > out.txt 2> err.txt
expect "import exit" 0 $?
expect "import names the album" "Album 0: Wycieczka Łódź (1 picture)" "$(head -1 out.txt)"
# Saving over the existing project replaces it.
"$cli" import "Lato.qs1" "$pictures" --publish-dir "$site" --force --no-captions > /dev/null 2> err.txt
expect "second save over the project" "0 " "$? $(cat err.txt)"

"$cli" generate Lato.qs1 --viewer-source "$viewer" > out.txt 2> err.txt
expect "first run exit" 0 $?
copy="$site/PhotoAlbum/images/album-0/café.jpg"
expect "picture copied" "        Copying picture $pictures/café.jpg to $copy." "$(grep 'picture' out.txt)"
cmp -s "$pictures/café.jpg" "$copy"
expect "copy byte-identical" 0 $?
expect "copy keeps the time" "$(stat -c %y "$pictures/café.jpg")" "$(stat -c %y "$copy" 2>&1)"
expect "album page written" yes "$([ -f "$site/album-0.htm" ] && echo yes || echo no)"

"$cli" generate Lato.qs1 --viewer-source "$viewer" > out.txt 2> err.txt
expect "second run exit" 0 $?
expect "second run copies nothing" "0 15 1" \
  "$(grep -c -E '^ +Copying (file|picture)' out.txt) $(grep -c 'is up to date' out.txt) $(grep -c 'Skipping copy picture' out.txt)"

"$cli" clear "$site" --yes > /dev/null 2> err.txt
expect "clear exit" 0 $?
expect "clear leaves the log and the images folder" "./Generation_Log.txt ./images" "$(cd "$site" && find . -mindepth 1 | LC_ALL=C sort | paste -sd' ')"

finish
