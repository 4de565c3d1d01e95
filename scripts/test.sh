#!/bin/bash
# Installs what is missing, then builds and runs every test: the whole suite (unit, rule,
# start-up and real-window tests on both SDL 1.2 runtimes, and the Debian package built,
# installed into a scratch root and run), then the same suite built with AddressSanitizer and
# UBSan, then the web build and its tests in headless chromium, then any further checks. Ends with ctest's own summary lines; any failure makes the
# command exit non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
sh scripts/install-deps.sh test
JOBS=$(nproc)
# Summary lines: of the further checks, and of each ctest run, which are printed last.
SUMMARY=()
CTEST_SUMMARY=()

# Repeats the further checks' lines and then each suite's closing ctest lines at the very end,
# also after a failure, so that the last lines of the output are ctest's own.
print_summary() {
    local status=$?
    echo
    if [ $status -eq 0 ]; then
        echo "== Summary: every step passed"
    else
        echo "== Summary: FAILED (status $status); the steps that ran:"
    fi
    [ ${#SUMMARY[@]} -eq 0 ] || printf '%s\n' "${SUMMARY[@]}"
    [ ${#CTEST_SUMMARY[@]} -eq 0 ] || printf '%s\n' "${CTEST_SUMMARY[@]}"
    exit $status
}
trap print_summary EXIT

# run_suite NAME BUILD_DIR [CMAKE_OPTION...]: configures, builds and runs ctest in BUILD_DIR.
run_suite() {
    local name=$1 dir=$2
    shift 2
    echo "== $name: building in $dir/"
    cmake -S . -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
    echo "== $name: running the tests"
    local status=0
    (cd "$dir" && ctest --output-on-failure -j "$JOBS") 2>&1 | tee "$dir/ctest-output.log" ||
        status=$?
    CTEST_SUMMARY+=("$name ($dir/):")
    local lines
    lines=$(grep -E 'tests passed, [0-9]+ tests? failed out of|^Total Test time' \
        "$dir/ctest-output.log" || true)
    CTEST_SUMMARY+=("${lines:-ctest printed no summary}")
    return $status
}

run_suite "Plain build" build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKARLUME_SANITIZE=OFF \
    -DSKARLUME_TESTS=ON

# Any memory error or undefined behaviour ends the program with a report. Leaks are reported
# too; the suppressions name only system libraries (X11, D-Bus), never the game's own code.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$ROOT/scripts/lsan-suppressions.txt
run_suite "Sanitized build" build-sanitize -DCMAKE_BUILD_TYPE=Debug -DSKARLUME_SANITIZE=ON \
    -DSKARLUME_TESTS=ON
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

# ---------------------------------------------------------------------------------------------
# Further checks (a short fuzz run, a soak run, ...) go here, each a command that exits non-zero
# on failure. Add a summary line for each with SUMMARY+=("..."): it is printed just before the
# ctest lines that end the output.
# ---------------------------------------------------------------------------------------------

# The web build (scripts/web.sh, in build-web/, from the plain build's pictures) and its tests in
# headless chromium: the shipped replays and frames against the plain build's replay tool, keys,
# own levels and shared links, and the site's size.
echo "== Web build: building in build-web/"
mkdir -p build-web
if ! SKARLUME_NATIVE_BUILD=$ROOT/build scripts/web.sh build-web >build-web/build-output.log 2>&1; then
    tail -n 60 build-web/build-output.log
    SUMMARY+=("Web build: FAILED to build, see build-web/build-output.log")
    exit 1
fi
echo "== Web build: running the tests"
web_status=0
(cd build-web && ctest --output-on-failure -j "$JOBS") 2>&1 | tee build-web/ctest-output.log ||
    web_status=$?
CTEST_SUMMARY+=("Web build (build-web/):")
web_lines=$(grep -E 'tests passed, [0-9]+ tests? failed out of|^Total Test time' \
    build-web/ctest-output.log || true)
CTEST_SUMMARY+=("${web_lines:-ctest printed no summary}")
[ $web_status -eq 0 ] || exit $web_status

# The level-file fuzzer (clang, libFuzzer, ASan and UBSan, in build-fuzz/) for a minute, from the
# shipped levels and what earlier runs kept: a crash, a leak, a sanitizer report or a broken
# level invariant fails it and leaves the input in build-fuzz/fuzz-findings/.
echo "== Level-file fuzzer: 60 s (build-fuzz/)"
mkdir -p build-fuzz
if ! fuzz/run.sh 60 >build-fuzz/fuzz-output.log 2>&1; then
    tail -n 60 build-fuzz/fuzz-output.log
    SUMMARY+=("Level-file fuzzer: FAILED, see build-fuzz/fuzz-output.log")
    exit 1
fi
grep -E '^stat::(number_of_executed_units|new_units_added)' build-fuzz/fuzz-output.log
SUMMARY+=("Level-file fuzzer: $(grep -E '^Done [0-9]+ runs' build-fuzz/fuzz-output.log), no finding")

# The player's own files (settings and progress) fuzzed the same way, for 20 s.
echo "== Player-file fuzzer: 20 s (build-fuzz/)"
if ! fuzz/run_player_files.sh 20 >build-fuzz/fuzz-player-files.log 2>&1; then
    tail -n 60 build-fuzz/fuzz-player-files.log
    SUMMARY+=("Player-file fuzzer: FAILED, see build-fuzz/fuzz-player-files.log")
    exit 1
fi
SUMMARY+=("Player-file fuzzer: $(grep -E '^Done [0-9]+ runs' build-fuzz/fuzz-player-files.log), no finding")
