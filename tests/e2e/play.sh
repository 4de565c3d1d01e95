#!/bin/bash
# The play screen in a real X window: a new game from the title into level 1 with real key
# presses, frames that advance and are never more than 60 a second while playing, Escape back
# to the title; then a level recorded in the window plays back headless to the same outcome on
# the same frame. Nothing here asks for a speed: a busy machine may draw fewer frames.
# Usage: play.sh GAME RECORD REPLAY FLIPCOUNT_SO classic|compat GAME_DIR
set -u
GAME=$(realpath "$1")
RECORD=$(realpath "$2")
REPLAY=$(realpath "$3")
FLIPCOUNT=$(realpath "$4")
GAME_DIR=$(realpath "$6")
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
use_runtime "$5"
# On sdl12-compat, SDL2 unloads the X11 and D-Bus libraries when it quits, so what they keep
# until exit shows up as leaks that no stack can place; on classic the leak check stays on.
if [ "$RUNTIME" = compat ] && [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
fi
start_xvfb

# Title, instructions and ship select, then level 1.
# A sanitized game wants its runtime first among the libraries; the frame counter comes first.
start_game "$GAME" ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy LD_PRELOAD="$FLIPCOUNT" SKARLUME_FLIP_COUNT="$WORK/flips"
find_window
check_runtime_loaded
xdotool windowfocus --sync "$WINDOW"
menu_flips=$(flips)
for screen in title instructions "ship select"; do
    before=$(flips)
    xdotool key --window "$WINDOW" Return
    flipped() { [ "$(flips)" -gt "$before" ]; }
    wait_for 10 flipped || fail "Return on the $screen screen drew nothing"
done
sleep 1
first=$(flips)
first_ticks=$(game_cpu_ticks)
start=$(now_ms)
sleep 5
last=$(flips)
elapsed=$(($(now_ms) - start))
ticks=$(($(game_cpu_ticks) - first_ticks))
echo "play screen: $((last - first)) frames in $elapsed ms (menus drew $menu_flips);" \
    "processor use: $ticks ticks of 10 ms"
[ "$last" -gt "$first" ] || fail "no frame was drawn in 5 s of play"
check_pacing "$first" "$last"

# Escape leaves the level for the title, which then sleeps: no more frames.
xdotool key --window "$WINDOW" Escape
sleep 1
idle=$(flips)
sleep 2
[ "$(flips)" -eq "$idle" ] || fail "the title kept drawing after Escape"
stop "$GAME_PID"
GAME_PID=""

# A level played in the window and recorded, then replayed headless. On level 4 a shot fired
# from the start comes straight back off the wall, so the level is lost a fixed number of
# frames after whichever frame the key press happened to arrive on: the replay must repeat
# that frame exactly.
cd "$GAME_DIR" || fail "no game directory"
(exec env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$RECORD" 4 "$WORK/level4.txt") \
    >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
find_window "^Skarlume - Level 4: "
xdotool windowfocus --sync "$WINDOW"
sleep 0.5
xdotool key --window "$WINDOW" space
wait_game_exit 30
[ "$GAME_STATUS" -eq 0 ] || fail "record ended with status $GAME_STATUS"
recorded=$(cat "$WORK/game.out")
echo "recorded in the window: $recorded"
case "$recorded" in
    *" lost at frame "*) ;;
    *) fail "the recorded game was not lost to its own shot: $recorded" ;;
esac
replayed=$(SDL_VIDEODRIVER=dummy "$REPLAY" "$WORK/level4.txt")
echo "replayed headless:      $replayed"
[ "$replayed" = "$recorded" ] || fail "the replay does not repeat the recorded game"
echo "PASS"
