#!/bin/bash
# Measures, for the README's figures (not a test: it asserts nothing), on both SDL 1.2 runtimes:
# the processor time the game uses while the title screen waits for a key in a real window,
# and the time from starting the program to its first drawn frame, headless and in a window.
# Usage: measure.sh BUILD_DIR [GAME_DIR]   (BUILD_DIR a plain, unsanitized build)
set -u
BUILD=$(realpath "$1")
GAME_DIR=$(realpath "${2:-$(dirname "$0")/../..}")
GAME=$BUILD/skarlume
STAMP=$BUILD/libfirst_flip_stamp.so
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
[ -x "$GAME" ] || fail "no game at $GAME"
[ -e "$STAMP" ] || fail "no first-flip stamp at $STAMP (built by the plain build)"
IDLE_SECONDS=5
RUNS=10
TICKS=$(getconf CLK_TCK)

# ms_stats VALUES...: minimum, median and maximum.
ms_stats() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
        printf "min %d ms, median %d ms, max %d ms (%d runs)", v[1], v[int((NR + 1) / 2)], v[NR], NR }'
}

# The program runs until its first SDL_Flip has been drawn, where the preloaded stamp ends it:
# its whole run time is the time to the first frame.
first_frame_ms() {
    local start end
    start=$(date +%s%N)
    (cd "$GAME_DIR" && env "$@" LD_PRELOAD="$STAMP" "$GAME") >/dev/null 2>"$WORK/stamp.err" ||
        fail "the game did not reach its first frame ($*): $(cat "$WORK/stamp.err")"
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

start_xvfb
echo "machine: $(nproc) cores, $(uname -sr); Xvfb on $DISPLAY"
for runtime in classic compat; do
    use_runtime "$runtime"
    times=()
    for _ in $(seq $RUNS); do
        times+=("$(first_frame_ms SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy)") || exit 1
    done
    echo "$runtime, headless (dummy driver): start to first frame: $(ms_stats "${times[@]}")"
    times=()
    for _ in $(seq $RUNS); do
        times+=("$(first_frame_ms SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy)") || exit 1
    done
    echo "$runtime, real window (Xvfb): start to first frame: $(ms_stats "${times[@]}")"

    start_game "$GAME" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
    find_window
    sleep 1 # let start-up finish before counting
    before=$(game_cpu_ticks)
    sleep "$IDLE_SECONDS"
    after=$(game_cpu_ticks)
    awk -v t=$((after - before)) -v hz="$TICKS" -v s="$IDLE_SECONDS" -v r="$runtime" 'BEGIN {
        printf "%s, real window: title screen waiting %d s: %d ticks of 1/%d s = %.1f%% of a core\n",
            r, s, t, hz, 100 * t / (hz * s) }'
    stop "$GAME_PID"
    GAME_PID=""
done
