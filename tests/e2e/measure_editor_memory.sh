#!/bin/bash
# Measures, for the notes (not a test: it asserts nothing), the level editor's memory in a real
# window before and after 100 edits (arrow-key nudges of one crate to the right, a grid step
# each), on a copy of the largest shipped level and on a level padded with comment lines to
# 5 MB; a save at the end shows that every edit was made.
# Usage: measure_editor_memory.sh EDITOR FLIPCOUNT_SO [GAME_DIR]
set -u
EDITOR=$(realpath "$1")
FLIPCOUNT=$(realpath "$2")
GAME_DIR=$(realpath "${3:-$(dirname "$0")/../..}")
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
EDITS=100

# status_kb FIELD: a field of the editor's /proc status, in kB.
status_kb() { awk -v f="$1:" '$1 == f { print $2 }' "/proc/$GAME_PID/status"; }

# Waits until the editor has used almost no processor time for two seconds (waiting for
# input, it still wakes now and then): every key has been handled. One edit of a large file
# takes a while and draws nothing meanwhile, so the frames cannot tell.
wait_idle() {
    local last now
    last=$(game_cpu_ticks)
    while :; do
        sleep 2
        now=$(game_cpu_ticks)
        [ $((now - last)) -le 5 ] && return
        last=$now
    done
}

# measure FILE X Y: opens FILE, picks the crate at (X, Y), nudges it EDITS times, saves.
measure() {
    local file=$1 before_rss after_rss after_hwm keys=() crate
    rm -f "$WORK/flips"
    (cd "$GAME_DIR" && exec env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
        LD_PRELOAD="$FLIPCOUNT" SKARLUME_FLIP_COUNT="$WORK/flips" "$EDITOR" "$file") \
        >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
    find_window '^Skarlume editor: '
    drawn() { [ -s "$WORK/flips" ]; }
    wait_for 60 drawn || fail "no first frame"
    xdotool windowfocus --sync "$WINDOW"
    xdotool mousemove --window "$WINDOW" "$2" "$3"
    sleep 0.3
    xdotool click 1
    wait_idle
    before_rss=$(status_kb VmRSS)
    # Ten keys at a time: SDL's event queue holds only so many, and a slow editor would drop
    # what does not fit.
    for _ in $(seq 10); do keys+=(Right); done
    for _ in $(seq $((EDITS / 10))); do
        xdotool key --window "$WINDOW" --delay 20 "${keys[@]}"
        wait_idle
    done
    after_rss=$(status_kb VmRSS)
    after_hwm=$(status_kb VmHWM)
    xdotool key ctrl+s
    wait_idle
    crate=$(grep -m 1 "^Crate(" "$file")
    echo "$(basename "$file") ($(wc -c <"$file") bytes):" \
        "resident $((before_rss / 1024)) MB after opening, $((after_rss / 1024)) MB after $EDITS" \
        "edits (peak $((after_hwm / 1024)) MB); saved: $crate"
    stop "$GAME_PID"
    GAME_PID=""
    wait_window_gone '^Skarlume editor: '
}

start_xvfb
LARGEST=$WORK/$(cd "$GAME_DIR/levels" && ls -S level*.txt | head -n 1)
cp "$GAME_DIR/levels/$(basename "$LARGEST")" "$LARGEST"
BIG=$WORK/five-megabytes.txt
{
    printf 'Five megabytes\nShip(487, 680)\nShipArea(312, 620) (712, 760)\nCrate(500, 300)\n'
    seq 1 200000 | sed 's/^/# a note that the game skips, kept as it was, number /'
} | head -c 5242880 >"$BIG"
echo "editor: $EDITOR"
# The largest level's first crate, and the big file's only one.
crate=$(grep -m 1 '^Crate(' "$LARGEST" | tr -dc '0-9,' | tr ',' ' ')
read -r cx cy <<<"$crate"
measure "$LARGEST" $((cx + 25)) $((cy + 25))
measure "$BIG" 525 325
