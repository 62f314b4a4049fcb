#!/usr/bin/env bash
# quorvale-cli import and check, end to end: exit statuses, what is written, what is said.
set -u
cli="$1"
source "$(dirname "${BASH_SOURCE[0]}")/expect.sh"
cd "$work"

mkdir -p "Lake trip" "Big" "Empty" "Zażółć gęślą"
# A picture is known by its first bytes (here a JPEG's), not by its name.
jpeg=$'\xff\xd8\xff'
for n in img10.JPG Img3.jpeg img2.gif notes.txt; do echo "$jpeg" > "Lake trip/$n"; done
echo "not a picture" > "Lake trip/text.heic"
for i in $(seq 1 120); do echo "$jpeg" > "Big/p$i.jpg"; done
echo "$jpeg" > "Zażółć gęślą/zdjęcie.jpg"

"$cli" import one.qs1 "Lake trip" "Zażółć gęślą" --publish-dir site --no-captions > out.txt 2> err.txt
expect "import exit" 1 $?
expect "a file that is no picture is named" "warning: Album \"Lake trip\": file \"text.heic\" left out; it is not a \
JPEG, GIF, HEIC, AVIF, WebP, PNG or TIFF picture." "$(cat err.txt)"
expect "import summary" "Album 0: Lake trip (3 pictures)|Album 1: Zażółć gęślą (1 picture)|Wrote one.qs1" \
  "$(paste -sd'|' out.txt)"

# A JPEG whose Exif image description is $2 (ASCII, under 200 characters).
described_jpeg() {
  local n=$(( ${#2} + 1 ))
  local segment=$((2 + 6 + 26 + n))
  { printf '\xff\xd8\xff\xe1'
    printf "\\x$(printf %02x $((segment >> 8)))\\x$(printf %02x $((segment & 255)))"
    printf 'Exif\0\0II*\0\x08\0\0\0\x01\0\x0e\x01\x02\0'
    printf "\\x$(printf %02x $n)\\0\\0\\0\\x1a\\0\\0\\0\\0\\0\\0\\0"
    printf '%s\0' "$2"
    printf '\xff\xd9'; } > "$1"
}
# Each picture's comment is the caption its file holds, a camera's placeholder none;
# --no-captions leaves every comment empty.
mkdir Captioned
described_jpeg Captioned/lake.jpg "  Sunset over the lake  "
described_jpeg Captioned/camera.jpg "OLYMPUS DIGITAL CAMERA"
"$cli" import captions.qs1 Captioned > /dev/null 2> err.txt
expect "import with captions" 0 $?
if [ "${QUORVALE_TEST_SYSTEM:-posix}" = windows ]; then
  # A Windows build made here has no imaging module: the project is made without captions.
  expect "captions not read, said" 1 "$(grep -c "^note: the pictures' captions were not read: " err.txt)"
else
  expect "caption as comment, trimmed" 1 "$(grep -a -c $'~Sunset over the lake\r$' captions.qs1)"
  expect "placeholder left out" 0 "$(grep -a -c OLYMPUS captions.qs1)"
  expect "nothing to say" "" "$(cat err.txt)"
fi
"$cli" import bare.qs1 Captioned --no-captions > /dev/null 2>&1
expect "import --no-captions" 0 $?
expect "no caption read" 0 "$(grep -a -c Sunset bare.qs1)"

"$cli" check one.qs1 > check.txt 2>&1
expect "check exit" 0 $?
expect "check albums" "  Album 0: Lake trip (3 pictures)|  Album 1: Zażółć gęślą (1 picture)" \
  "$(grep '^  Album' check.txt | paste -sd'|')"
expect "check publishing directory" "Publishing directory: $work/site" "$(grep '^Publishing directory' check.txt)"
expect "check picture order" "" "$(grep 'missing:' check.txt)"

rm "Lake trip/Img3.jpeg"
"$cli" check one.qs1 > check.txt 2>&1
expect "check names a missing picture" "    missing: $work/Lake trip/Img3.jpeg" "$(grep 'missing:' check.txt)"

before=$(md5sum one.qs1)
"$cli" import one.qs1 Big > /dev/null 2> err.txt
expect "existing project without --force" 2 $?
expect "existing project untouched" "$before" "$(md5sum one.qs1)"
grep -q -- "--force" err.txt
expect "refusal says what to do" 0 $?

"$cli" import one.qs1 Big --force --no-captions > /dev/null 2> err.txt
expect "--force with a 120-picture folder" 1 $?
expect "limit warning" "warning: Album \"Big\": 20 of 120 pictures left out; an album holds at most 100 pictures." \
  "$(cat err.txt)"
expect "100 kept" "  Album 0: Big (100 pictures)" "$("$cli" check one.qs1 | grep '^  Album')"

for bad in Empty Missing; do
  "$cli" import new.qs1 "$bad" > /dev/null 2>&1
  expect "import of $bad folder" 2 $?
  expect "nothing written for $bad" "no" "$([ -e new.qs1 ] && echo yes || echo no)"
done

printf '\x80~QS\r\n\x81~1.1\r\n\x82~0\r\n' > newer.qs1
"$cli" check newer.qs1 > out.txt 2> err.txt
expect "refused project exit" 2 $?
expect "refusal on standard error" "Quorvale 1.0.0 - Open Project: Version Conflict!!|This project file was created by a higher version of software. Can not load!!" \
  "$(paste -sd'|' err.txt)"
expect "nothing on standard output" "" "$(cat out.txt)"

"$cli" import > /dev/null 2>&1
expect "import without arguments" 2 $?
"$cli" check a.qs1 b.qs1 > /dev/null 2>&1
expect "check with two projects" 2 $?
"$cli" import --help | grep -q "Exit status"
expect "import --help documents exit statuses" 0 $?

finish
