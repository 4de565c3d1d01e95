#!/bin/bash
# The headless tools stop when asked: Ctrl+C or `timeout` ends a long run of the solver or the
# level report, which no window's loop would otherwise notice; the solver's progress so far is
# in its output.
# Usage: tools_interrupt.sh BUILD_DIR GAME_DIR (headless: SDL's dummy drivers)
source "$(dirname "$0")/headless_tools.sh"

# interrupted SIGNAL COMMAND...: the command, asked to stop by SIGNAL after a second, stops
# (timeout says 124); one that only a kill ends, 30 s later, says 137.
interrupted() {
    local signal=$1
    shift
    (cd "$GAME_DIR" && timeout -s "$signal" -k 30 1 "$@" >"$WORK/out" 2>&1)
    local got=$?
    if [ "$got" -ne 124 ]; then
        echo "FAIL: $* under SIG$signal after a second ended $got (wanted 124)" >&2
        failures=$((failures + 1))
    fi
}

# Both runs take far longer than a second: every level at the full setting, and a search that
# keeps a replay only if it forgives lateness, into a scratch file.
interrupted TERM "$BUILD/levelreport" 1-35
interrupted INT "$BUILD/levelreport" 1-35
interrupted TERM "$BUILD/solve" --out "$WORK/level22.txt" 22
if ! grep -q "^level 22: searching" "$WORK/out"; then
    echo "FAIL: the stopped solver's output lacks its first line of progress:" >&2
    head -3 "$WORK/out" >&2
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "every tool stopped when asked"
exit $((failures > 0))
