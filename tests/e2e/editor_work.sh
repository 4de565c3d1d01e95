#!/bin/bash
# The level editor never loses a designer's work, in a real X window with real keys and mouse.
# One case a run:
#   readonly  quitting with edits of a file on a read-only mount keeps them in a recovery
#             copy; with no place for a copy at all, the first quit is refused and only a
#             second one closes (needs root for the bind mount: skipped, status 77, without);
#   link      a dangling symbolic link saves to its target, made there, and stays a link;
#   changed   a file changed on disk is not written over by the first Ctrl+S, and Ctrl+L loads
#             it, so that both the change on disk and the new edit end up saved;
#   kill      a recovery copy is written within 10 s of an edit, survives kill -9, and the
#             next editor on the file loads it with Ctrl+U.
# Usage: editor_work.sh EDITOR CLOSEWINDOW FLIPCOUNT_SO classic|compat GAME_DIR CASE
set -u
EDITOR=$(realpath "$1")
CLOSEWINDOW=$(realpath "$2")
FLIPCOUNT=$(realpath "$3")
GAME_DIR=$(realpath "$5")
CASE=$6
SKIPPED=77
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
use_runtime "$4"
if [ "$RUNTIME" = compat ] && [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
fi
RECOVERY=$XDG_STATE_HOME/skarlume/recovery

# start_editor FILE: the editor on FILE, from the game directory; waits for its first frame,
# so that no key or click comes while it is still starting. The frame counter is preloaded
# first, as in editor.sh.
start_editor() {
    wait_window_gone '^Skarlume editor: '
    rm -f "$WORK/flips"
    (cd "$GAME_DIR" && exec env ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" \
        SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy LD_PRELOAD="$FLIPCOUNT" \
        SKARLUME_FLIP_COUNT="$WORK/flips" "$EDITOR" "$1") >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
    find_window '^Skarlume editor: '
    drawn() { [ -s "$WORK/flips" ]; }
    wait_for 20 drawn || fail "the editor drew no first frame"
    xdotool windowfocus --sync "$WINDOW"
}

# place_crate X Y: the crate tool, then a click there; waits until the editor has drawn the
# window again after the click.
place_crate() {
    xdotool key --window "$WINDOW" 4
    xdotool mousemove --window "$WINDOW" "$1" "$2"
    sleep 0.3
    local before
    before=$(flips)
    xdotool click 1
    redrawn() { [ "$(flips)" -gt "$before" ]; }
    wait_for 10 redrawn || fail "the editor drew nothing after the click"
    sleep 0.2
}

# press KEYS: through XTEST to the focused editor, as a real keyboard types: a key sent to the
# window directly can lose its Ctrl when the focus event comes in between, since SDL then reads
# the modifiers from the real keyboard.
press() {
    xdotool key "$1"
    sleep 0.3
}

expect_exit() {
    wait_game_exit 20
    [ "$GAME_STATUS" -eq 0 ] || fail "the editor ended with status $GAME_STATUS"
}

crates_in() { grep -c '^Crate(' "$1" 2>/dev/null; }
copy_with_crate() { grep -l '^Crate(' "$RECOVERY"/* >/dev/null 2>&1; }

start_xvfb
case "$CASE" in
readonly)
    RO=$WORK/d
    mkdir -p "$WORK/d-source" "$RO"
    if ! mount --bind "$WORK/d-source" "$RO" 2>"$WORK/mount.err"; then
        echo "SKIP: cannot bind-mount a folder here ($(cat "$WORK/mount.err")); it needs root"
        exit $SKIPPED
    fi
    # The mount goes before the scratch folder does, whichever way the script ends.
    trap 'umount "$RO" 2>/dev/null; cleanup' EXIT
    mount -o remount,ro,bind "$RO" || fail "cannot make the bind mount read-only"
    touch "$RO/probe" 2>/dev/null && fail "the mount is writable"

    start_editor "$RO/x.txt"
    place_crate 512 384
    press ctrl+q
    expect_exit
    grep -q "unsaved edits written to $RECOVERY/" "$WORK/game.err" ||
        fail "quitting did not say where the edits went: $(cat "$WORK/game.err")"
    copy_with_crate || fail "no recovery copy with the crate in $RECOVERY"
    echo "quit on a read-only mount: $(cat "$WORK/game.err")"

    # No place for a copy at all: the state folder on the read-only mount too.
    export XDG_STATE_HOME=$RO/state
    start_editor "$RO/x.txt"
    place_crate 300 300
    press ctrl+q
    sleep 1
    game_running || fail "the first quit closed the editor although the edits could be kept nowhere"
    "$CLOSEWINDOW" "$WINDOW" || fail "cannot send the window its close request"
    expect_exit
    # Said only when the edit arrived and the first quit was refused.
    grep -q "your unsaved edits of .* are lost: " "$WORK/game.err" ||
        fail "the second quit did not say the edits are lost"
    echo "with nowhere to keep them: refused once, then: $(cat "$WORK/game.err")"
    ;;
link)
    mkdir -p "$WORK/real" "$WORK/levels"
    ln -s ../real/nothere.txt "$WORK/levels/d.txt"
    start_editor "$WORK/levels/d.txt"
    place_crate 512 384
    press ctrl+s
    saved() { [ "$(crates_in "$WORK/real/nothere.txt")" = 1 ]; }
    wait_for 10 saved || fail "Ctrl+S did not make the link's target with the crate"
    [ -L "$WORK/levels/d.txt" ] || fail "the link became a plain file"
    [ "$(readlink "$WORK/levels/d.txt")" = ../real/nothere.txt ] || fail "the link points elsewhere"
    "$CLOSEWINDOW" "$WINDOW"
    expect_exit
    echo "the link stays a link to: $(readlink "$WORK/levels/d.txt"); target: $(tr '\n' '|' <"$WORK/real/nothere.txt")"
    ;;
changed)
    EXT=$WORK/ext.txt
    cp "$GAME_DIR/levels/level1.txt" "$EXT"
    before=$(crates_in "$EXT")
    start_editor "$EXT"
    echo 'Crate(100, 100)' >>"$EXT"
    place_crate 512 300
    press ctrl+s
    sleep 0.5
    grep -qx 'Crate(100, 100)' "$EXT" || fail "the first Ctrl+S wrote over the line added on disk"
    [ "$(crates_in "$EXT")" = $((before + 1)) ] || fail "the first Ctrl+S saved anyway"
    # Ctrl+L loads the file as it is now; the crate is placed again and saved with it.
    press ctrl+l
    place_crate 512 300
    press ctrl+s
    both() { [ "$(crates_in "$EXT")" = $((before + 2)) ]; }
    wait_for 10 both || fail "after Ctrl+L the save lacks a crate: $(tr '\n' '|' <"$EXT")"
    grep -qx 'Crate(100, 100)' "$EXT" || fail "the line added on disk is gone"
    "$CLOSEWINDOW" "$WINDOW"
    expect_exit
    echo "saved with the change made on disk: $(tr '\n' '|' <"$EXT")"
    ;;
kill)
    LEVEL=$WORK/k.txt
    start_editor "$LEVEL"
    place_crate 512 384
    started=$(now_ms)
    wait_for 10 copy_with_crate || fail "no recovery copy within 10 s of the edit"
    echo "recovery copy written $(($(now_ms) - started)) ms after the edit"
    kill -KILL "$GAME_PID"
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
    copy_with_crate || fail "the recovery copy did not survive kill -9"
    [ ! -e "$LEVEL" ] || fail "the autosave wrote the level itself"

    start_editor "$LEVEL"
    press ctrl+u
    press ctrl+s
    recovered() { [ "$(crates_in "$LEVEL")" = 1 ]; }
    wait_for 10 recovered || fail "Ctrl+U and Ctrl+S did not bring the crate back"
    "$CLOSEWINDOW" "$WINDOW"
    expect_exit
    echo "recovered after kill -9: $(tr '\n' '|' <"$LEVEL")"
    ;;
*) fail "unknown case $CASE" ;;
esac
echo "PASS"
