#!/bin/bash
# The sound generator run twice writes the same bytes, and the same as the build made into the
# game directory: one WAV file for each of the game's sounds.
# Usage: same_sounds.sh MAKESOUNDS GAME_DIR
set -u
MAKESOUNDS=$(realpath "$1")
GAME_DIR=$(realpath "$2")
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
"$MAKESOUNDS" "$WORK/first" || fail "the first run failed"
"$MAKESOUNDS" "$WORK/second" || fail "the second run failed"
count=$(find "$WORK/first/sounds" -name '*.wav' | wc -l)
[ "$count" -ge 13 ] || fail "only $count sounds were written"
diff -r "$WORK/first/sounds" "$WORK/second/sounds" || fail "two runs wrote different bytes"
diff -r "$WORK/first/sounds" "$GAME_DIR/sounds" || fail "the build's sounds differ from a new run's"
echo "PASS: $count sounds, the same bytes on every run"
