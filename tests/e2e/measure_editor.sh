#!/bin/bash
# Measures the level editor for the README (not a test: it asserts nothing), on both SDL 1.2
# runtimes: the time from starting it on a level to its first drawn frame, headless and in a
# real window, and the processor time it uses while it waits for input in a real window.
# Usage: measure_editor.sh BUILD_DIR [GAME_DIR [LEVEL]]   (BUILD_DIR a plain, unsanitized build)
set -u
BUILD=$(realpath "$1")
GAME_DIR=$(realpath "${2:-$(dirname "$0")/../..}")
LEVEL=${3:-levels/level27.txt}
EDITOR=$BUILD/editor
STAMP=$BUILD/libfirst_flip_stamp.so
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
[ -x "$EDITOR" ] || fail "no editor at $EDITOR"
[ -e "$STAMP" ] || fail "no first-flip stamp at $STAMP (built by the plain build)"
IDLE_SECONDS=5
RUNS=10
TICKS=$(getconf CLK_TCK)

ms_stats() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
        printf "min %d ms, median %d ms, max %d ms (%d runs)", v[1], v[int((NR + 1) / 2)], v[NR], NR }'
}

# The preloaded stamp ends the editor at its first SDL_Flip: its run time is the time to the
# first drawn frame (pictures, glyph sheet, the level read, checked and drawn).
first_frame_ms() {
    local start end
    start=$(date +%s%N)
    (cd "$GAME_DIR" && env "$@" LD_PRELOAD="$STAMP" "$EDITOR" "$LEVEL") >/dev/null \
        2>"$WORK/stamp.err" || fail "the editor did not reach its first frame: $(cat "$WORK/stamp.err")"
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

start_xvfb
echo "machine: $(nproc) cores, $(uname -sr); Xvfb on $DISPLAY; editing $LEVEL"
for runtime in classic compat; do
    use_runtime "$runtime"
    for driver in dummy x11; do
        times=()
        for _ in $(seq $RUNS); do
            times+=("$(first_frame_ms SDL_VIDEODRIVER=$driver SDL_AUDIODRIVER=dummy)") || exit 1
        done
        echo "$runtime, $driver: start to first drawn frame: $(ms_stats "${times[@]}")"
    done

    (cd "$GAME_DIR" && exec env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$EDITOR" "$LEVEL") \
        >/dev/null 2>"$WORK/game.err" &
    GAME_PID=$!
    shown() { xdotool search --onlyvisible --name '^Skarlume editor: ' >/dev/null 2>&1; }
    wait_for 30 shown || fail "no editor window"
    sleep 1 # let start-up finish before counting
    before=$(game_cpu_ticks)
    sleep "$IDLE_SECONDS"
    after=$(game_cpu_ticks)
    awk -v t=$((after - before)) -v hz="$TICKS" -v s="$IDLE_SECONDS" -v r="$runtime" 'BEGIN {
        printf "%s, real window: editor waiting %d s: %d ticks of 1/%d s = %.1f%% of a core\n",
            r, s, t, hz, 100 * t / (hz * s) }'
    stop "$GAME_PID"
    GAME_PID=""
done
