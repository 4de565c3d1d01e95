#!/bin/sh
# Builds the level-file fuzzer with clang in build-fuzz and runs it for SECONDS (default 60) on
# the seed corpus plus what earlier runs found. Exit status 0 when nothing broke.
# Usage: fuzz/run.sh [SECONDS] [extra libFuzzer options]
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
[ $# -gt 0 ] && shift
cd "$root"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DSKARLUME_FUZZ=ON >/dev/null
cmake --build build-fuzz -j 2 --target fuzz_level
corpus="$root/build-fuzz/fuzz-corpus"
fuzz/make_corpus.sh "$corpus"
mkdir -p "$root/build-fuzz/fuzz-findings"
# Two workers at most: the machines have two cores.
build-fuzz/fuzz_level "$corpus" -dict="$root/fuzz/level.dict" -max_total_time="$seconds" \
    -timeout=20 -rss_limit_mb=4096 -max_len=8192 -print_final_stats=1 \
    -artifact_prefix="$root/build-fuzz/fuzz-findings/" "$@"
