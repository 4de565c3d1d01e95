#!/bin/bash
# Builds the web version: first the native game, whose picture program draws the pictures
# (into images/, in build/ unless SKARLUME_NATIVE_BUILD names another build), then the game and
# the replay tool with emscripten into build-web/ (or $1). The site, ready for any static web
# server, is build-web/site/: index.html, skarlume.js, skarlume.wasm and skarlume.data.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
NATIVE=${SKARLUME_NATIVE_BUILD:-$ROOT/build}
WEB=${1:-$ROOT/build-web}
JOBS=$(nproc)
if ! command -v emcmake >/dev/null || ! command -v cwebp >/dev/null; then
    sh scripts/install-deps.sh web
fi
echo "== Web build: the pictures, from the native build in $NATIVE/"
[ -f "$NATIVE/CMakeCache.txt" ] || cmake -S . -B "$NATIVE" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The native sounds too: the web tests compare the ones the page makes with them.
cmake --build "$NATIVE" -j "$JOBS" --target images sounds replay
echo "== Web build: the game and the replay tool in $WEB/"
# emscripten's optimiser finds its JavaScript parser among Debian's node modules.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B "$WEB" -DCMAKE_BUILD_TYPE=Release -DSKARLUME_NATIVE_BUILD="$NATIVE" >/dev/null
cmake --build "$WEB" -j "$JOBS"
echo "== Web build: the site is $WEB/site/"
ls -l "$WEB/site"
