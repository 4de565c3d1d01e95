#!/bin/bash
# What the X server shows of the play screen: a shipped replay played in a real window, with
# fullscreen switched on and off on the way, equals the plain drawing at every frame compared,
# the frames after the first sent in pieces; and it wins on the frame it wins on headless.
# Usage: window_frames.sh WINDOW_FRAMES REPLAY_TOOL classic|compat GAME_DIR
set -u
FRAMES=$(realpath "$1")
REPLAY=$(realpath "$2")
GAME_DIR=$(realpath "$4")
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
use_runtime "$3"
if [ "$RUNTIME" = compat ] && [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
fi
start_xvfb
cd "$GAME_DIR" || fail "no game directory"
SOLUTION=solutions/level12.txt
headless=$(SDL_VIDEODRIVER=dummy "$REPLAY" "$SOLUTION") || fail "the replay does not win: $headless"
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$FRAMES" "$SOLUTION" --switch-at 150 --switch-at 400 \
    >"$WORK/frames.out" 2>"$WORK/game.err"
status=$?
cat "$WORK/frames.out"
[ $status -eq 0 ] || fail "the window showed something other than the plain drawing"
grep -q "^${headless%%,*}\$" "$WORK/frames.out" ||
    fail "headless the replay ended: $headless"
pieces=$(sed -n 's/.*whole, \([0-9]*\) pieces$/\1/p' "$WORK/frames.out")
[ "${pieces:-0}" -gt 0 ] || fail "no frame was sent in pieces"
echo "PASS"
