#!/usr/bin/env bash
# quorvale-cli upload against a real SFTP server: Debian's sshd on 127.0.0.1 with a
# host key, a configuration and a user key of its own, stopped at the end. An unknown
# host key is refused until trusted; the first upload sends the site, the second
# nothing, the third the picture that changed; a changed host key is refused; a copy of
# the program without its upload module says so.
set -u
cli="$1"
make_project="$2"
source "$(dirname "${BASH_SOURCE[0]}")/expect.sh"
source "$(dirname "${BASH_SOURCE[0]}")/local_sshd.sh"
sshd_open

printf 'boat' > pictures/boat.jpg
mkdir viewer && "$make_project" --viewer-files viewer
"$make_project" holiday.qs1 "$work/site" --album "Lake" "$work/pictures/boat.jpg"
"$cli" generate holiday.qs1 --viewer-source viewer > /dev/null 2>&1
expect "generate" 0 $?
files=$(($(wc -l < site/PhotoAlbum/site.manifest) - 1))
address="sftp://$(id -un)@127.0.0.1:$sshd_port$work/server"

"$cli" upload holiday.qs1 --to "$address" > out.txt 2> err.txt
expect "unknown host refused" 2 $?
grep -q "is new to this computer: SHA256:" err.txt || fail "unknown host: no fingerprint in: $(cat err.txt)"
[ -z "$(ls server)" ] || fail "unknown host: something was uploaded"

"$cli" upload holiday.qs1 --to "$address" --trust-new-host > out.txt 2> err.txt
expect "first upload" 0 $?
grep -q "127.0.0.1" "$HOME/.ssh/known_hosts" || fail "first upload: the host key was not kept"
cmp -s site/PhotoAlbum.htm server/PhotoAlbum.htm || fail "first upload: the home page differs"
cmp -s pictures/boat.jpg server/PhotoAlbum/images/album-0/boat.jpg || fail "first upload: the picture differs"
[ -z "$(find server -name '*.quorvale-part')" ] || fail "first upload: temporary files left"
grep -q "^Upload completed .*: $files uploaded, 0 unchanged" out.txt || fail "first upload: $(tail -1 out.txt)"

"$cli" upload holiday.qs1 --to "$address" > out.txt 2> err.txt
expect "second upload" 0 $?
grep -q ": 0 uploaded, $files unchanged" out.txt || fail "second upload: $(tail -1 out.txt)"

# A changed picture: that picture goes, and after it the home page when the two runs
# fell in different seconds (it shows the time of the run).
printf 'a bigger boat' > pictures/boat.jpg
"$cli" generate holiday.qs1 --viewer-source viewer > /dev/null 2>&1
"$cli" upload holiday.qs1 --to "$address" > out.txt 2> err.txt
sent=$(sed -n 's/^    Uploading //p' out.txt | tr '\n' ' ' | sed 's/ $//')
expect "changed picture" "PhotoAlbum/images/album-0/boat.jpg." "${sent% PhotoAlbum.htm.}"
cmp -s pictures/boat.jpg server/PhotoAlbum/images/album-0/boat.jpg || fail "changed picture: not on the server"

sshd_stop
sshd_start other_host_key
"$cli" upload holiday.qs1 --to "$address" --trust-new-host > out.txt 2> err.txt
expect "changed host key refused" 2 $?
grep -q "is not the one it had before: refused" out.txt || fail "changed host key: $(cat out.txt err.txt)"

# libcurl comes in a module beside the program: a copy without it says so.
mkdir alone && cp "$cli" alone/
alone/"$(basename "$cli")" upload holiday.qs1 --to "$address" > out.txt 2> err.txt
expect "no upload module" 2 $?
grep -q "upload: the upload module could not be loaded: .*quorvale_curl" err.txt || fail "no upload module: $(cat err.txt)"
finish
