#!/bin/bash
# Fullscreen on a desktop too small for the window (1280x800, classic SDL 1.2, whose fullscreen
# needs no window manager): the game starts fullscreen and says so in one line; --window and a
# choice kept in the settings file win over the desktop; F11 switches and keeps the choice. The
# editor fullscreen places a crate where the mouse points, and F11 takes it back to a window.
# Usage: fullscreen.sh GAME EDITOR classic GAME_DIR
set -u
GAME=$(realpath "$1")
EDITOR=$(realpath "$2")
GAME_DIR=$(realpath "$4")
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
use_runtime "$3"
start_xvfb 1280x800x24
SETTINGS="$XDG_CONFIG_HOME/skarlume/settings.ini"

# A window as large as the screen, and shown, is the fullscreen one.
screen_wide_window() {
    local id
    for id in $(xwininfo -root -tree 2>/dev/null | awk '/ 1280x800\+0\+0 / { print $1 }'); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
    done
    return 1
}

# start_game_with [OPTION]...: the game with those options; waits for its window and a moment
# for its start-up line.
start_game_with() {
    (cd "$GAME_DIR" && exec env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$GAME" "$@") \
        >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
    find_window "${TITLE:-^Skarlume\$}"
    sleep 1
}

# The first start: no choice yet, and the desktop too small.
start_game_with
grep -c 'starting fullscreen' "$WORK/game.err" | grep -qx 1 ||
    fail "no line said that the game starts fullscreen"
[ "$(wc -l <"$WORK/game.err")" -eq 1 ] || fail "more than one line on the standard error stream"
screen_wide_window || fail "the game did not start fullscreen"
[ ! -e "$SETTINGS" ] || fail "the desktop's choice was kept as the player's"
# F11 goes back to a window, and the choice is kept.
xdotool key --window "$WINDOW" F11 2>/dev/null
wait_for 10 grep -q '^fullscreen = off$' "$SETTINGS" || fail "F11 did not keep a window as the choice"
wait_for 10 eval '! screen_wide_window' || fail "F11 did not leave fullscreen"
stop "$GAME_PID"
GAME_PID=""

# The kept choice wins over the desktop's size.
start_game_with
[ ! -s "$WORK/game.err" ] || fail "the kept choice of a window did not win: $(cat "$WORK/game.err")"
screen_wide_window && fail "the game went fullscreen against the kept choice"
stop "$GAME_PID"
GAME_PID=""

# The command line wins over both.
start_game_with --fullscreen
screen_wide_window || fail "--fullscreen did not start fullscreen"
stop "$GAME_PID"
GAME_PID=""
rm -f "$SETTINGS"
start_game_with --window
[ ! -s "$WORK/game.err" ] || fail "--window did not win over the desktop: $(cat "$WORK/game.err")"
screen_wide_window && fail "--window started fullscreen"
stop "$GAME_PID"
GAME_PID=""

# The editor fullscreen: the picture is centred at (128, 16) on this screen, and a click there
# at (312, 208) of the picture centres the crate on it (its corner on the grid of 8).
printf 'fullscreen = on\n' >"$SETTINGS"
GAME=$EDITOR TITLE='^Skarlume editor: ' start_game_with "$WORK/new.txt"
screen_wide_window || fail "the editor did not start fullscreen as the settings say"
xdotool windowfocus --sync "$WINDOW" 2>/dev/null
xdotool key --window "$WINDOW" 4 2>/dev/null
xdotool mousemove 440 224
sleep 0.2
xdotool click 1
sleep 0.2
xdotool key --window "$WINDOW" ctrl+s 2>/dev/null
saved() { grep -q '^Crate(' "$WORK/new.txt" 2>/dev/null; }
wait_for 10 saved || fail "Ctrl+S wrote no crate"
grep -qx 'Crate(288, 184)' "$WORK/new.txt" ||
    fail "the crate is not where the mouse pointed: $(cat "$WORK/new.txt")"
xdotool key --window "$WINDOW" F11 2>/dev/null
wait_for 10 eval '! screen_wide_window' || fail "F11 did not take the editor to a window"
echo "PASS"
