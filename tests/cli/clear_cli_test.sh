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
  mkdir -p "$1/PhotoAlbum" "$1/images"
  for f in PhotoAlbum/Torvexa.jar PhotoAlbum.htm album-0.htm notes.html; do printf 'x' > "$1/$f"; done
  printf '\r\nold\r\n\r\n' > "$1/Generation_Log.txt"
}

# run NAME EXPECTED_STATUS STDERR_TEXT ARGS... (standard input is never a terminal here)
run() {
  local name=$1 expected=$2 text=$3
  shift 3
  "$cli" clear "$@" </dev/null >/dev/null 2>"$work/err"
  local status=$?
  [ "$status" -eq "$expected" ] || fail "$name: exit status $status, expected $expected"
  grep -qF -- "$text" "$work/err" || fail "$name: standard error lacks '$text': $(cat "$work/err")"
}

# left NAME DIR EXPECTED_LISTING
left() {
  local listing
  listing=$(cd "$2" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' ')
  [ "$listing" = "$3" ] || fail "$1: left $listing"
}

run "no folder given" 2 "Usage: quorvale-cli clear DIR [--yes]"
run "unknown option" 2 "unknown option '--force'" "$work" --force
run "empty text" 2 "Please select the Publishing Directory" ""
run "missing folder" 2 "Publishing Folder ($work/nowhere) does not exist." "$work/nowhere" --yes

full="./Generation_Log.txt ./PhotoAlbum ./PhotoAlbum.htm ./PhotoAlbum/Torvexa.jar ./album-0.htm ./images ./notes.html "
make_site "$work/declined"
run "no terminal, no --yes" 1 "(no terminal to answer at: declined; pass --yes to agree)" "$work/declined"
left "declined" "$work/declined" "$full"

make_site "$work/site"
run "--yes clears" 0 "THIS WILL WIPE OUT (DELETE) EVERYTHING UNDER $work/site/PhotoAlbum DIRECTORY AND $work/site/*.htm FILES." "$work/site" --yes
left "--yes clears" "$work/site" "./Generation_Log.txt ./images ./notes.html "
tail -c 51 "$work/site/Generation_Log.txt" | grep -q "    PhotoAlbum data purged from this directory."$'\r' ||
  fail "--yes clears: no purge entry at the end of the log"

make_site "$work/readonly"
chmod a-w "$work/readonly/PhotoAlbum/Torvexa.jar"
run "read-only file" 1 "Check for Read Only files in the directory tree." "$work/readonly" --yes
left "read-only file" "$work/readonly" "$full"
[ "$(grep -c "purged" "$work/readonly/Generation_Log.txt")" -eq 1 ] || fail "read-only file: purge entry missing"

# At a terminal the questions are asked as y/n: an unclear answer is asked again, "n"
# declines and deletes nothing, "y" clears. `script` lends the command a terminal (a
# Linux one, which a program under Wine does not take for a console).
if command -v script >/dev/null 2>&1 && [ "${QUORVALE_TEST_SYSTEM:-posix}" != windows ]; then
  at_terminal() { # NAME EXPECTED_STATUS PROMPTS ANSWERS DIR
    printf '%b' "$4" | script -qec "$(printf '%q ' "$cli" clear "$5")" /dev/null >"$work/tty" 2>&1
    local status=$?
    [ "$status" -eq "$2" ] || fail "$1: exit status $status, expected $2: $(cat "$work/tty")"
    [ "$(grep -o '\[y/n\]' "$work/tty" | wc -l)" -eq "$3" ] || fail "$1: not asked $3 times: $(cat "$work/tty")"
  }
  make_site "$work/asked"
  at_terminal "terminal, n" 1 2 'maybe\nn\n' "$work/asked"
  left "terminal, n" "$work/asked" "$full"
  at_terminal "terminal, y" 0 1 'y\n' "$work/asked"
  left "terminal, y" "$work/asked" "./Generation_Log.txt ./images ./notes.html "
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all clear checks passed"
