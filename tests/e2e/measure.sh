#!/bin/bash
# Measures, for the README's figures (not a test: it asserts nothing), on both SDL 1.2 runtimes:
# the processor time the game uses while the title screen waits for a key in a real window,
# and the time from starting the program to its first drawn frame, headless and in a window;
# then the same for the level editor waiting for input on a level.
# Usage: measure.sh BUILD_DIR [GAME_DIR [LEVEL]]   (BUILD_DIR a plain, unsanitized build;
# LEVEL, the level the editor opens, defaults to levels/level27.txt)
set -u
BUILD=$(realpath "$1")
GAME_DIR=$(realpath "${2:-$(dirname "$0")/../..}")
LEVEL=${3:-levels/level27.txt}
GAME=$BUILD/skarlume
EDITOR=$BUILD/editor
STAMP=$BUILD/libfirst_flip_stamp.so
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
[ -x "$GAME" ] || fail "no game at $GAME"
[ -x "$EDITOR" ] || fail "no editor at $EDITOR"
[ -e "$STAMP" ] || fail "no first-flip stamp at $STAMP (built by the plain build)"
IDLE_SECONDS=5
RUNS=10
TICKS=$(getconf CLK_TCK)

# ms_stats VALUES...: minimum, median and maximum.
ms_stats() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
        printf "min %d ms, median %d ms, max %d ms (%d runs)", v[1], v[int((NR + 1) / 2)], v[NR], NR }'
}

# The program (PROGRAM, an array) runs until its first SDL_Flip has been drawn, where the
# preloaded stamp ends it: its whole run time is the time to the first frame.
first_frame_ms() {
    local start end
    start=$(date +%s%N)
    (cd "$GAME_DIR" && env "$@" LD_PRELOAD="$STAMP" "${PROGRAM[@]}") >/dev/null 2>"$WORK/stamp.err" ||
        fail "${PROGRAM[0]} did not reach its first frame ($*): $(cat "$WORK/stamp.err")"
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

# measure WHAT WAITING WINDOW_NAME: start-up both ways, then processor use while waiting.
measure() {
    local what=$1 waiting=$2 window=$3 times before after
    times=()
    for _ in $(seq $RUNS); do
        times+=("$(first_frame_ms SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy)") || exit 1
    done
    echo "$RUNTIME, headless (dummy driver): ${what:+$what }start to first frame: $(ms_stats "${times[@]}")"
    times=()
    for _ in $(seq $RUNS); do
        times+=("$(first_frame_ms SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy)") || exit 1
    done
    echo "$RUNTIME, real window (Xvfb): ${what:+$what }start to first frame: $(ms_stats "${times[@]}")"

    (cd "$GAME_DIR" && exec env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "${PROGRAM[@]}") \
        >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
    shown() { xdotool search --onlyvisible --name "$window" >/dev/null 2>&1; }
    wait_for 30 shown || fail "no window named $window within 30 s"
    sleep 1 # let start-up finish before counting
    before=$(game_cpu_ticks)
    sleep "$IDLE_SECONDS"
    after=$(game_cpu_ticks)
    awk -v t=$((after - before)) -v hz="$TICKS" -v s="$IDLE_SECONDS" -v r="$RUNTIME" \
        -v w="$waiting" 'BEGIN {
        printf "%s, real window: %s %d s: %d ticks of 1/%d s = %.1f%% of a core\n",
            r, w, s, t, hz, 100 * t / (hz * s) }'
    stop "$GAME_PID"
    GAME_PID=""
}

start_xvfb
echo "machine: $(nproc) cores, $(uname -sr); Xvfb on $DISPLAY"
for runtime in classic compat; do
    use_runtime "$runtime"
    PROGRAM=("$GAME")
    measure "" "title screen waiting" '^Skarlume$'
    PROGRAM=("$EDITOR" "$LEVEL")
    measure "editor on $LEVEL," "editor waiting" '^Skarlume editor: '
done
