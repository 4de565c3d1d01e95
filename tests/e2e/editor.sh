#!/bin/bash
# The level editor in a real X window, with real mouse and keys: a new file, a crate placed
# with the mouse, saved with Ctrl+S, the window closed as a window manager closes it; the file
# then holds that crate and checks clean. Then an edit left unsaved is kept in a recovery copy
# when the window closes, after a test-play that draws no more than 60 frames a second and
# comes back on Escape. Clicks go through XTEST, as a real mouse does: the classic SDL ignores
# button events sent to a window with XSendEvent.
# Usage: editor.sh EDITOR CHECKLEVEL CLOSEWINDOW FLIPCOUNT_SO classic|compat GAME_DIR
set -u
EDITOR=$(realpath "$1")
CHECKLEVEL=$(realpath "$2")
CLOSEWINDOW=$(realpath "$3")
FLIPCOUNT=$(realpath "$4")
GAME_DIR=$(realpath "$6")
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
use_runtime "$5"
# On sdl12-compat, SDL2 unloads the X11 and D-Bus libraries when it quits: see play.sh.
if [ "$RUNTIME" = compat ] && [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
fi
start_xvfb
LEVEL=$WORK/my-level.txt

# start_editor FILE: the editor on FILE, run from the game directory.
start_editor() {
    wait_window_gone '^Skarlume editor: '
    # A sanitized editor wants its runtime first among the libraries; the frame counter comes
    # first (as in play.sh).
    (cd "$GAME_DIR" && exec env ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" \
        SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy LD_PRELOAD="$FLIPCOUNT" \
        SKARLUME_FLIP_COUNT="$WORK/flips" "$EDITOR" "$1") >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
    find_window '^Skarlume editor: '
    xdotool windowfocus --sync "$WINDOW"
}

close_editor() {
    "$CLOSEWINDOW" "$WINDOW" || fail "cannot send the window its close request"
    wait_game_exit 20
    [ "$GAME_STATUS" -eq 0 ] || fail "the editor ended with status $GAME_STATUS"
}

start_editor "$LEVEL"
check_runtime_loaded
# The crate tool, then a click in the middle of the field: the crate's picture is centred on
# the mouse and its corner snapped to the grid of 8.
xdotool key --window "$WINDOW" 4
xdotool mousemove --window "$WINDOW" 512 384
sleep 0.2
xdotool click 1
sleep 0.2
xdotool key --window "$WINDOW" ctrl+s
saved() { grep -q '^Crate(' "$LEVEL" 2>/dev/null; }
wait_for 10 saved || fail "Ctrl+S wrote no crate into $LEVEL"
close_editor
[ ! -e "$LEVEL.unsaved" ] || fail "a saved level left $LEVEL.unsaved"
echo "saved: $(tr '\n' '|' <"$LEVEL")"
grep -qx 'Crate(488, 360)' "$LEVEL" || fail "the crate is not where it was placed: $(cat "$LEVEL")"
checked=$(cd "$GAME_DIR" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$CHECKLEVEL" "$LEVEL")
echo "checked: $checked"
[ "$checked" = "$LEVEL: OK" ] || fail "the saved level does not check clean: $checked"

# An edit left unsaved: closing the window keeps it in a recovery copy and says so.
start_editor "$LEVEL"
xdotool key --window "$WINDOW" 4
xdotool mousemove --window "$WINDOW" 200 200
sleep 0.2
xdotool click 1
sleep 0.3

# Test-play: frames advance, never more than 60 in a second (one side only: a busy machine may
# draw fewer), and Escape comes back to the editor.
xdotool key --window "$WINDOW" t
sleep 0.5
first=$(flips)
sleep 2
last=$(flips)
echo "test-play: $((last - first)) frames in 2 s"
[ "$last" -gt "$first" ] || fail "test-play drew no frame"
check_pacing "$first" "$last"
xdotool key --window "$WINDOW" Escape
sleep 0.5
game_running || fail "the editor ended when the test-play was left"
close_editor
COPY=$(sed -n 's/^editor: unsaved edits written to \(.*\) (opening .*/\1/p' "$WORK/game.err")
[ -n "$COPY" ] || fail "closing with an unsaved edit said nothing on the standard error stream"
[ "$(grep -c '^Crate(' "$COPY")" -eq 2 ] || fail "the recovery copy $COPY lacks the second crate"
[ "$(grep -c '^Crate(' "$LEVEL")" -eq 1 ] || fail "the unsaved edit reached $LEVEL"
echo "PASS"
