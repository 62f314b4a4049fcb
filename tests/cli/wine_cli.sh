#!/usr/bin/env bash
# Runs a Windows build of a command-line program under Wine as the shell tests run the
# Linux one: wine_cli.sh PROGRAM.exe ARGUMENTS...
# An argument that is an absolute Linux path goes in as the Windows path of Wine's Z:
# drive (/tmp/a b -> Z:\tmp\a b). On the way out, CR LF line ends become LF and the
# program's Z:\ paths become Linux paths again, so the tests compare one text for both
# systems. WINEPREFIX and the path of wine come from the environment.
set -u
program=$1
shift
args=()
for arg in "$@"; do
  if [[ $arg == /* ]]; then
    arg="Z:${arg//\//\\}"
  fi
  args+=("$arg")
done
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
"${QUORVALE_WINE:-wine}" "$program" "${args[@]}" >"$out" 2>"$err"
status=$?
# Every backslash of the output is a path's: the tool prints no other.
to_linux() { LC_ALL=C sed -e 's/\r$//' -e 's/\\/\//g' -e 's/Z:\//\//g' "$1"; }
to_linux "$out"
to_linux "$err" >&2
exit "$status"
