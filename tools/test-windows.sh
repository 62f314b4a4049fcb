#!/usr/bin/env bash
# The Windows suite: cross-builds the core, quorvale-cli and the core's tests with
# MinGW-w64 (the `windows` preset, cmake/mingw-w64-x86_64.cmake) and runs them under
# Wine, the command-line shell tests included, and checks the zip that
# `make package-windows` makes. Wine's Windows installation lives in
# build-windows/wine-prefix, so nothing lands in the user's home.
#   tools/test-windows.sh [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${1:-$(nproc)}
build=build-windows

cmake --preset windows

export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
# One persistent server for every test; without it each Wine start would set up and
# tear down its own, which costs seconds. One already running for this prefix (an
# earlier run, a developer's session) serves as well.
wineserver -p 2>/dev/null || true
trap 'wineserver -k 2>/dev/null || true' EXIT
# The first start creates the prefix (some seconds); it runs while the build compiles.
wine wineboot --init >/dev/null 2>&1 &
boot=$!

# Everything, the viewers staged beside the programs included, so the build tree runs
# as an installed program does.
cmake --build --preset windows -j "$jobs"
wait "$boot"
ctest --preset windows -j "$jobs"
tools/package-windows.sh "$jobs"
