#!/usr/bin/env bash
# quorvale-cli upload when the connection drops in the middle, against a real SFTP
# server (local_sshd.sh). The server's session is killed after some pictures arrived:
# the upload tries again after a wait and finishes. Then the whole server stops after
# some pictures arrived: the upload gives up after its tries, and the next one, with
# the server back, sends only what had not arrived.
set -u
cli="$1"
make_project="$2"
source "$(dirname "${BASH_SOURCE[0]}")/expect.sh"
source "$(dirname "${BASH_SOURCE[0]}")/local_sshd.sh"
sshd_open

# Pictures large enough that an upload takes a while on this computer.
pictures=()
for i in $(seq -w 1 40); do
  head -c 1500000 /dev/urandom > "pictures/p$i.jpg"
  pictures+=("$work/pictures/p$i.jpg")
done
mkdir viewer && "$make_project" --viewer-files viewer
"$make_project" holiday.qs1 "$work/site" --album "Lake" "${pictures[@]}"
"$cli" generate holiday.qs1 --viewer-source viewer > /dev/null 2>&1
expect "generate" 0 $?
files=$(($(wc -l < site/PhotoAlbum/site.manifest) - 1))
address="sftp://$(id -un)@127.0.0.1:$sshd_port$work/server"
arrived() { find server/PhotoAlbum/images -name 'p*.jpg' 2> /dev/null | wc -l; }

# Kills the processes below the process $1, deepest first.
kill_below() {
  local child
  for child in $(ps -o pid= --ppid "$1"); do
    kill_below "$child"
    kill "$child" 2> /dev/null
  done
}

# Starts an upload in the background and runs $1 once 5 pictures have arrived.
upload_and() {
  "$cli" upload holiday.qs1 --to "$address" --trust-new-host > out.txt 2> err.txt &
  local upload=$!
  for _ in $(seq 2000); do [ "$(arrived)" -ge 5 ] && break; sleep 0.01; done
  "$1"
  wait "$upload"
}
drop_session() { kill_below "$(cat "$work/sshd.pid")"; }

upload_and drop_session
expect "session dropped" 0 $?
# A session killed between two files is replaced by libcurl without a word; one killed
# during a file is a lost connection, tried again after a second. Either way every file
# arrives whole.
grep -q "^Upload completed .*: $files uploaded" out.txt || fail "session dropped: $(tail -1 out.txt)"
for picture in pictures/*.jpg; do
  cmp -s "$picture" "server/PhotoAlbum/images/album-0/${picture#pictures/}" || fail "session dropped: $picture differs"
done

# The next upload is cut short for good: the server stops.
rm -rf server/*
# The server stops accepting first, so that no new session starts, then its sessions end.
stop_server() {
  local server
  server=$(cat "$work/sshd.pid")
  kill -STOP "$server"
  kill_below "$server"
  kill -KILL "$server"
  rm -f "$work/sshd.pid"
}
upload_and stop_server
expect "server stopped" 1 $?
grep -q "trying again in 4 s\.$" out.txt || fail "server stopped: not tried three times: $(cat out.txt)"
grep -q "^Upload failed" out.txt || fail "server stopped: $(tail -1 out.txt)"
(cd server && find . -type f ! -name '*.quorvale-part' | sed 's|^\./|    Uploading |; s|$|.|' | sort) > there.txt
sshd_start host_key
"$cli" upload holiday.qs1 --to "$address" > out.txt 2> err.txt
expect "finished next time" 0 $?
grep -q "^Upload completed .*: $(($files - $(wc -l < there.txt))) uploaded, $(wc -l < there.txt) unchanged" out.txt ||
  fail "finished next time: $(tail -1 out.txt) after $(wc -l < there.txt) files had arrived"
[ -z "$(grep -Fx -f there.txt out.txt)" ] || fail "finished next time: sent again: $(grep -Fx -f there.txt out.txt)"
cmp -s site/PhotoAlbum.htm server/PhotoAlbum.htm || fail "finished next time: the home page differs"
finish
