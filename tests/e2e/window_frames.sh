#!/bin/bash
# What the X server shows of the play screen: a shipped replay played in a real window, on the
# classic runtime with fullscreen switched on and off on the way, equals the plain drawing at
# every frame compared, the frames after the first sent in pieces; and it wins on the frame it
# wins on headless. sdl12-compat's fullscreen needs a window manager, which this X server has
# not: it scales the picture into a window that stays as it was, so there the window is
# compared only as a window.
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
SWITCHES=()
[ "$RUNTIME" = classic ] && SWITCHES=(--switch-at 150 --switch-at 400)
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$FRAMES" "$SOLUTION" "${SWITCHES[@]}" \
    >"$WORK/frames.out" 2>"$WORK/game.err"
status=$?
cat "$WORK/frames.out"
[ $status -eq 0 ] || fail "the window showed something other than the plain drawing"
grep -q "^${headless%%,*}\$" "$WORK/frames.out" ||
    fail "headless the replay ended: $headless"
pieces=$(sed -n 's/.*whole, \([0-9]*\) pieces$/\1/p' "$WORK/frames.out")
[ "${pieces:-0}" -gt 0 ] || fail "no frame was sent in pieces"
echo "PASS"
