#!/bin/sh
# Builds and runs every test: the suite headless, the same suite under the sanitizers,
# and the end-to-end run of the real game in a real X window.
set -e
cd "$(dirname "$0")/.."
JOBS=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$JOBS"
(cd build && ctest --output-on-failure -j "$JOBS")

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DSKARLUME_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j "$JOBS"
(cd build-sanitize && ctest --output-on-failure -j "$JOBS" -LE e2e)
