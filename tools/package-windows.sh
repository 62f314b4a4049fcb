#!/usr/bin/env bash
# The Windows zip: cross-builds everything of the `windows` preset, packs the program
# folder with CPack (build-windows/quorvale-VERSION-windows-x64.zip), then unpacks it
# into an empty folder and runs it there under Wine as a user would: a project imported
# from the demo pictures and its Torvexa site generated without a single error.
#   tools/package-windows.sh [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${1:-$(nproc)}
build=build-windows

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs" --target package

zip=$(ls "$build"/quorvale-*-windows-x64.zip)
export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
unzip -q "$zip" -d "$check/unpacked"
program=$(ls -d "$check"/unpacked/quorvale-*-windows-x64)
run() { QUORVALE_WINE=wine tests/cli/wine_cli.sh "$program/quorvale-cli.exe" "$@"; }

for file in README.txt quorvale-cli.exe Applications/Torvexa/PhotoAlbum.class Applications/Html/quorvale-album.js; do
  [ -f "$program/$file" ] || { echo "package-windows: $file is missing from $zip" >&2; exit 1; }
done
[ -d "$program/Projects" ] || { echo "package-windows: Projects is missing from $zip" >&2; exit 1; }

mkdir "$check/site"
run import "$check/Demo.qs1" "$build/demo/source/Seaside Weekend" --publish-dir "$check/site" >/dev/null
if ! run generate "$check/Demo.qs1" >"$check/transcript.txt" 2>&1; then
  echo "package-windows: the unpacked program did not generate the demo site cleanly:" >&2
  cat "$check/transcript.txt" >&2
  exit 1
fi
for file in PhotoAlbum.htm album-0.htm PhotoAlbum/PhotoAlbum.class PhotoAlbum/index/album-0.dat; do
  [ -f "$check/site/$file" ] || { echo "package-windows: the generated site lacks $file" >&2; exit 1; }
done
echo "package-windows: $zip unpacks and generates the demo site under Wine"
