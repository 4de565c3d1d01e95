#!/bin/sh
# Builds the fuzzers of the player's own files (settings and progress) with clang in build-fuzz
# and runs each for SECONDS (default 20) from a few seeds plus what earlier runs found. Exit status 0 when
# nothing broke. Usage: fuzz/run_player_files.sh [SECONDS] [extra libFuzzer options]
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
[ $# -gt 0 ] && shift
cd "$root"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DSKARLUME_FUZZ=ON >/dev/null
cmake --build build-fuzz -j 2 --target fuzz_settings fuzz_progress
corpus="$root/build-fuzz/settings-corpus"
mkdir -p "$corpus" "$root/build-fuzz/fuzz-findings"
printf 'mute = on\nvolume = 35\nfullscreen = off\n' >"$corpus/seed-all.ini"
printf '# comment\r\n\r\nvolume=100\r\nlater = key\r\n' >"$corpus/seed-crlf.ini"
printf 'volume = 101\n' >"$corpus/seed-range.ini"
build-fuzz/fuzz_settings "$corpus" -dict="$root/fuzz/settings.dict" -max_total_time="$seconds" \
    -timeout=20 -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$root/build-fuzz/fuzz-findings/settings-" "$@"
progress="$root/build-fuzz/progress-corpus"
mkdir -p "$progress"
printf 'levels = 12\n/home/player/my pack = 3\n' >"$progress/seed-two.ini"
printf '# comment\r\n\r\nlevels=2\r\n' >"$progress/seed-crlf.ini"
printf 'levels = 1000\n' >"$progress/seed-range.ini"
build-fuzz/fuzz_progress "$progress" -dict="$root/fuzz/progress.dict" -max_total_time="$seconds" \
    -timeout=20 -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$root/build-fuzz/fuzz-findings/progress-" "$@"
