#!/bin/bash
# Plays the real game in a real X window: walks title, instructions and ship select with key
# presses, checks each screen against the game's own pictures, and closes the window.
# Usage: menus.sh GAME CLOSEWINDOW classic|compat GAME_DIR SHOT_DIR
set -u
GAME=$(realpath "$1")
CLOSEWINDOW=$(realpath "$2")
GAME_DIR=$(realpath "$4")
SHOTS=$5
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
use_runtime "$3"

for tool in xdotool import compare convert; do
    command -v $tool >/dev/null || fail "$tool is not installed (scripts/install-deps.sh installs it)"
done
rm -rf "$SHOTS"
mkdir -p "$SHOTS"

IMAGES=$GAME_DIR/images

press() {
    xdotool windowfocus --sync "$WINDOW" key "$1" || fail "xdotool could not press $1"
}

expected title-new-game StartMenu.bmp StartMenuOutline.bmp 345 304
expected title-credits StartMenu.bmp StartMenuOutline.bmp 346 473
expected instructions Instructions.bmp
expected ship-1 ShipSelect.bmp ShipSelectBar.bmp 30 623
expected ship-2 ShipSelect.bmp ShipSelectBar.bmp 400 623

# The two title pictures must differ where the game can show it, or the outline check is blind.
outline_change=$(differing title-credits "$WORK/title-new-game.png")
[ "$outline_change" -gt 100 ] ||
    fail "the title outline at its two places differs in only $outline_change pixels"
bar_change=$(differing ship-2 "$WORK/ship-1.png")
[ "$bar_change" -gt 100 ] ||
    fail "the ship select bar at ship 1 and ship 2 differs in only $bar_change pixels:" \
        "is images/ShipSelectBar.bmp all white, and so invisible?"

# On sdl12-compat, SDL2 unloads the X11 libraries when it quits, so what they keep until exit
# shows up as leaks that no stack can place. A sanitized game keeps its leak check on the
# classic runtime, which runs the same game code; here only memory errors are checked.
if [ "$RUNTIME" = compat ] && [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
fi

start_xvfb
start_game "$GAME" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
find_window
check_runtime_loaded
caption=$(xdotool getwindowname "$WINDOW")
[ "$caption" = Skarlume ] || fail "the caption is '$caption', not 'Skarlume'"
echo "window $WINDOW on $DISPLAY, caption '$caption'"

expect_screen 1-title title-new-game
press Down
expect_screen 2-title-down title-credits
moved_back=$(differing title-new-game "$SHOTS/2-title-down.png")
[ "$moved_back" -gt "$MOST_DIFFERENT" ] || fail "after Down the outline is still on the first item"
press Up
expect_screen 3-title-up title-new-game
press Return
expect_screen 4-instructions instructions
press Return
expect_screen 5-ship-select ship-1
press Right
expect_screen 6-ship-select-right ship-2
press Escape
expect_screen 7-title-again title-new-game

"$CLOSEWINDOW" "$WINDOW" || fail "could not send the close request"
wait_game_exit 15
[ "$GAME_STATUS" -eq 0 ] || fail "after the close request the game exited with $GAME_STATUS, not 0"
[ ! -s "$WORK/game.out" ] || fail "the game wrote to standard output: $(head -c 200 "$WORK/game.out")"
echo "closed by WM_DELETE_WINDOW: exit status 0"
