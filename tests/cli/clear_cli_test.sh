#!/usr/bin/env bash
# Runs `quorvale-cli clear` against small publishing directories and checks the exit
# status, the messages on standard error and the files left behind.
set -u
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

make_site() {
  mkdir -p "$1/PhotoAlbum/index" "$1/images"
  printf 'x' > "$1/PhotoAlbum/Torvexa.jar"
  printf 'x' > "$1/PhotoAlbum.htm"
  printf 'x' > "$1/album-0.htm"
  printf 'x' > "$1/notes.html"
  printf '\r\nold\r\n\r\n' > "$1/Generation_Log.txt"
}

listing() { (cd "$1" && find . -mindepth 1 | sort | tr '\n' ' '); }

# run NAME EXPECTED_STATUS STDERR_PATTERN ARGS... (standard input is never a terminal here)
run() {
  local name=$1 expected=$2 pattern=$3
  shift 3
  "$cli" clear "$@" </dev/null >"$work/out" 2>"$work/err"
  local status=$?
  [ "$status" -eq "$expected" ] || fail "$name: exit status $status, expected $expected"
  grep -qF -- "$pattern" "$work/err" || fail "$name: standard error lacks '$pattern': $(cat "$work/err")"
}

run "no folder given" 2 "Usage: quorvale-cli clear DIR [--yes]"
run "unknown option" 2 "unknown option '--force'" "$work" --force
run "empty text" 2 "Please select the Publishing Directory" ""
run "missing folder" 2 "Publishing Folder ($work/nowhere) does not exist." "$work/nowhere" --yes

make_site "$work/declined"
before=$(listing "$work/declined")
run "no terminal, no --yes" 1 "(no terminal to answer at: declined; pass --yes to agree)" "$work/declined"
[ "$(listing "$work/declined")" = "$before" ] || fail "declined: files changed"

make_site "$work/site"
run "--yes clears" 0 "THIS WILL WIPE OUT (DELETE) EVERYTHING UNDER $work/site/PhotoAlbum DIRECTORY AND $work/site/*.htm FILES." "$work/site" --yes
[ "$(listing "$work/site")" = "./Generation_Log.txt ./images ./notes.html " ] ||
  fail "--yes clears: left $(listing "$work/site")"
tail -c 51 "$work/site/Generation_Log.txt" | grep -q "    PhotoAlbum data purged from this directory."$'\r' ||
  fail "--yes clears: no purge entry at the end of the log"

make_site "$work/readonly"
chmod a-w "$work/readonly/PhotoAlbum/Torvexa.jar"
run "read-only file" 1 "Check for Read Only files in the directory tree." "$work/readonly" --yes
[ -f "$work/readonly/PhotoAlbum/Torvexa.jar" ] || fail "read-only file: the read-only file was deleted"
[ "$(grep -c "purged" "$work/readonly/Generation_Log.txt")" -eq 1 ] || fail "read-only file: purge entry missing"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all clear checks passed"
