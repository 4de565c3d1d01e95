#!/bin/bash
# Processor use in a real X window (Xvfb, 24-bit screen): the game waiting in its title menu,
# the game playing a level, and a bare loop that only fills and flips the same 1024x768 16-bit
# window 60 times a second, on the classic SDL and on sdl12-compat.
# Usage: bench/cpu_in_window.sh BUILD_DIR [SECONDS] [LEVEL_FILE]
# The game's sound plays into SDL's dummy audio driver unless SDL_AUDIODRIVER names another;
# GAME_OPTIONS (such as --mute) are given to the game.
# The level played defaults to the benchmark's stress level, where the player is out of reach of
# every enemy shot, so that play lasts as long as the measurement.
set -u
BUILD=$(realpath "${1:?usage: cpu_in_window.sh BUILD_DIR [SECONDS] [LEVEL_FILE]}")
SECONDS_MEASURED=${2:-10}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
LEVEL=$(realpath "${3:-$ROOT/bench/stress_level.txt}")
COMPAT_DIR=${SDL12_COMPAT_DIR:-/usr/lib/x86_64-linux-gnu/sdl12-compat}
TICKS=$(getconf CLK_TCK)

WORK=$(mktemp -d)
# The game keeps its settings and progress in the scratch folder, never in a real home.
export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" XDG_STATE_HOME="$WORK/state"
XVFB_PID=
GAME_PID=
cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# A game directory whose level 1 is the level to measure.
mkdir -p "$WORK/game/levels"
ln -s "$ROOT/images" "$WORK/game/images"
ln -s "$ROOT/sounds" "$WORK/game/sounds"
cp "$LEVEL" "$WORK/game/levels/level1.txt"

# A display number nobody else holds: other test runs may have their own Xvfb.
DISPLAY_NUMBER=$((150 + $$ % 100))
while [ -e "/tmp/.X$DISPLAY_NUMBER-lock" ] || [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ]; do
    DISPLAY_NUMBER=$((DISPLAY_NUMBER + 1))
done
# Without -noreset the server resets when its last client (the bare loop) leaves, and the game
# connecting just then finds no display.
Xvfb ":$DISPLAY_NUMBER" -noreset -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY=":$DISPLAY_NUMBER"
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on $DISPLAY" >&2; exit 1; }
# Named, so that a missing display is an error and not a silent fall-back to another driver.
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

# Processor ticks (user and system) that a process has used so far.
ticks_of() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Percent of one core that the process uses over the measured seconds.
measure() {
    local pid=$1 before after
    before=$(ticks_of "$pid") || return 1
    sleep "$SECONDS_MEASURED"
    after=$(ticks_of "$pid") || return 1
    awk -v t="$((after - before))" -v hz="$TICKS" -v s="$SECONDS_MEASURED" \
        'BEGIN { printf "%.2f", 100 * t / hz / s }'
}

wait_for_window() {
    local id
    for _ in $(seq 300); do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

status=0
for runtime in classic compat; do
    if [ "$runtime" = compat ]; then
        export LD_LIBRARY_PATH=$COMPAT_DIR
    else
        unset LD_LIBRARY_PATH
    fi

    "$BUILD/bare_flip_loop" $((SECONDS_MEASURED + 5)) >/dev/null &
    bare_pid=$!
    sleep 1.5
    if ! bare=$(measure "$bare_pid"); then
        echo "$runtime: the bare loop ended early" >&2
        exit 1
    fi
    wait "$bare_pid"

    # shellcheck disable=SC2086 # the options are words
    (cd "$WORK/game" && exec "$BUILD/skarlume" ${GAME_OPTIONS:-}) &
    GAME_PID=$!
    window=$(wait_for_window Skarlume) || { echo "$runtime: no game window" >&2; exit 1; }
    sleep 2
    menu=$(measure "$GAME_PID") || { echo "$runtime: the game ended in its menu" >&2; exit 1; }
    # Title, instructions, ship select: Return on each leads into level 1.
    xdotool windowfocus --sync "$window" 2>/dev/null
    for _ in 1 2 3; do
        xdotool key --window "$window" Return
        sleep 0.5
    done
    sleep 1
    if ! play=$(measure "$GAME_PID") || ! kill -0 "$GAME_PID" 2>/dev/null; then
        echo "$runtime: the game ended during the measurement" >&2
        status=1
    fi
    kill -TERM "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=

    ratio=$(awk -v p="$play" -v b="$bare" 'BEGIN { printf "%.2f", (b > 0 ? p / b : 0) }')
    menu_ok=$(awk -v m="$menu" 'BEGIN { print (m < 1 ? "met" : "MISSED") }')
    play_ok=$(awk -v r="$ratio" 'BEGIN { print (r <= 1.2 ? "met" : "MISSED") }')
    printf '%-8s menu %6s%% of a core (target under 1%%: %s)\n' "$runtime" "$menu" "$menu_ok"
    printf '%-8s play %6s%%, bare fill-and-flip loop %6s%%: ratio %s (target at most 1.2: %s)\n' \
        "$runtime" "$play" "$bare" "$ratio" "$play_ok"
done
exit $status
