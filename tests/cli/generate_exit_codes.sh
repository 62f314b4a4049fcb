#!/bin/sh
# quorvale-cli generate: exit 0 for a clean run, 1 for a run with errors or warnings,
# 2 when nothing could be generated; the transcript on standard output, message boxes
# on standard error.
set -u
CLI=$1
MAKE_PROJECT=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILED=0

fail() { echo "FAIL: $*"; FAILED=1; }

# The path as the program writes it into a file: a Windows build sees Wine's Z: drive.
written_path() {
  if [ "${QUORVALE_TEST_SYSTEM:-posix}" = windows ]; then printf 'Z:%s' "$1" | tr / '\\'; else printf '%s' "$1"; fi
}

# expect STATUS NAME COMMAND...: runs the command, output in $WORK/out and $WORK/err.
expect() {
  want=$1; name=$2; shift 2
  "$@" >"$WORK/out" 2>"$WORK/err"
  got=$?
  if [ "$got" -ne "$want" ]; then
    fail "$name: exit $got, expected $want"; sed 's/^/  /' "$WORK/out" "$WORK/err"
  fi
}

# contains out|err TEXT: the last command's output holds TEXT.
contains() { grep -qF -- "$2" "$WORK/$1" || fail "$name: '$2' not in $1"; }

VIEWER="$WORK/viewer"
mkdir -p "$VIEWER" "$WORK/site" "$WORK/pictures"
"$MAKE_PROJECT" --viewer-files "$VIEWER" || fail "make_project --viewer-files"
echo picture >"$WORK/pictures/one.jpg"

"$MAKE_PROJECT" "$WORK/clean.qs1" "$WORK/site" --album "Holiday" "$WORK/pictures/one.jpg" || fail "make_project"
"$MAKE_PROJECT" "$WORK/missing.qs1" "$WORK/site" --album "Lost" "$WORK/pictures/gone.jpg" || fail "make_project"
"$MAKE_PROJECT" "$WORK/nowhere.qs1" "$WORK/no-such-folder" --album "A" "$WORK/pictures/one.jpg" || fail "make_project"
printf 'not a project\r\n' >"$WORK/garbage.qs1"

expect 0 "clean run" "$CLI" generate "$WORK/clean.qs1" --viewer-source "$VIEWER"
contains out "        Copying picture $WORK/pictures/one.jpg to $WORK/site/PhotoAlbum/images/album-0/one.jpg."
contains err "GENERATION SUCCESSFUL"
contains err "Open $WORK/site/PhotoAlbum.htm in Internet Explorer 4.5 or above"
if grep -q "$(printf '\r')" "$WORK/out"; then fail "clean run: CR in terminal output"; fi
grep -qF "($(written_path "$WORK/clean.qs1"))</TITLE>" "$WORK/site/PhotoAlbum.htm" || fail "clean run: project name not in title"

expect 1 "missing picture" "$CLI" generate "$WORK/missing.qs1" --viewer-source "$VIEWER"
contains out "        ERROR IN COPY: Picture $WORK/pictures/gone.jpg does not exist."
contains err "Generation completed with 1 ERRORS and 0 WARNINGS."

# Options override the project: the viewer source is missing (shown, not counted) and
# the site goes to another folder.
expect 0 "missing viewer source" "$CLI" generate "$WORK/clean.qs1" --viewer-source "$WORK/none" \
  --publish-dir "$WORK/pictures"
contains err "Application Source Directory ($WORK/none) does not exist. Can not Proceed."
[ -f "$WORK/pictures/album-0.htm" ] || fail "missing viewer source: album-0.htm not in --publish-dir"

expect 2 "refused project" "$CLI" generate "$WORK/garbage.qs1" --viewer-source "$VIEWER"
[ -s "$WORK/err" ] || fail "refused project: no message on stderr"
expect 2 "missing publishing directory" "$CLI" generate "$WORK/nowhere.qs1" --viewer-source "$VIEWER"
contains err "Publishing Folder ($WORK/no-such-folder) does not exist."
[ -e "$WORK/no-such-folder" ] && fail "missing publishing directory: folder created"
expect 2 "no project" "$CLI" generate
expect 2 "unknown option" "$CLI" generate "$WORK/clean.qs1" --frobnicate
expect 2 "option without folder" "$CLI" generate "$WORK/clean.qs1" --publish-dir
expect 0 "clean run with imaging options" "$CLI" generate "$WORK/clean.qs1" --viewer-source "$VIEWER" \
  --keep-location --jobs 1
expect 2 "no worker" "$CLI" generate "$WORK/clean.qs1" --jobs 0
contains err "--jobs needs a whole number from 1 to 256"
expect 2 "jobs not a number" "$CLI" generate "$WORK/clean.qs1" --jobs many
expect 0 "help" "$CLI" generate --help
contains out "--viewer-source DIR"
contains out "--jobs N"
contains out "--keep-location"

[ "$FAILED" -eq 0 ] && echo "all cli generate checks passed"
exit "$FAILED"
