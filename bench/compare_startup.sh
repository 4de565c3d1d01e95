#!/bin/bash
# Start-up to the first drawn title of two builds of the game, run by run in turn (A B A B ...)
# in one sitting, headless and in a real window, on both SDL 1.2 runtimes: a before-and-after
# figure that a noisy machine does not skew one way. It asserts nothing.
# Usage: bench/compare_startup.sh GAME_A DIR_A GAME_B DIR_B [RUNS] [AUDIO_DRIVER]
# (each game started in its own game directory; AUDIO_DRIVER "default" leaves SDL_AUDIODRIVER
# unset, so that SDL looks for a real device)
set -u
GAME_A=$(realpath "$1")
DIR_A=$(realpath "$2")
GAME_B=$(realpath "$3")
DIR_B=$(realpath "$4")
RUNS=${5:-10}
AUDIO=${6:-dummy}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
GAME_DIR=$DIR_B
# shellcheck source=tests/e2e/lib.sh
. "$ROOT/tests/e2e/lib.sh"
STAMP=${FIRST_FLIP_STAMP:-$ROOT/build/libfirst_flip_stamp.so}
[ -e "$STAMP" ] || fail "no first-flip stamp at $STAMP (the plain build makes it)"
if [ "$AUDIO" = default ]; then AUDIO_SETTING=(-u SDL_AUDIODRIVER); else AUDIO_SETTING=(SDL_AUDIODRIVER="$AUDIO"); fi

# first_frame_ms GAME DIR VIDEO: the whole run of a game that the stamp ends at its first flip.
first_frame_ms() {
    local start end
    start=$(date +%s%N)
    (cd "$2" && env "${AUDIO_SETTING[@]}" SDL_VIDEODRIVER="$3" LD_PRELOAD="$STAMP" "$1") \
        >/dev/null 2>"$WORK/stamp.err" || fail "$1 did not reach its first frame: $(cat "$WORK/stamp.err")"
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

stats() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
        printf "median %d ms (min %d, max %d, %d runs)", v[int((NR + 1) / 2)], v[1], v[NR], NR }'
}

start_xvfb
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg); audio driver: $AUDIO"
for runtime in classic compat; do
    use_runtime "$runtime"
    for video in dummy x11; do
        a=() b=()
        for _ in $(seq "$RUNS"); do
            a+=("$(first_frame_ms "$GAME_A" "$DIR_A" $video)") || exit 1
            b+=("$(first_frame_ms "$GAME_B" "$DIR_B" $video)") || exit 1
        done
        echo "$runtime, $video: A $(stats "${a[@]}"); B $(stats "${b[@]}")"
    done
done
