#!/bin/bash
# The real game in a real window where its audio cannot open (SDL_AUDIODRIVER names a driver
# that does not exist): it must draw its title, say so in one line on the standard error stream,
# and quit from the title with status 0, as it would with sound.
# Usage: no_audio.sh GAME FLIPCOUNT_SO classic|compat GAME_DIR
set -u
GAME=$(realpath "$1")
FLIPCOUNT=$(realpath "$2")
GAME_DIR=$(realpath "$4")
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
use_runtime "$3"
if [ "$RUNTIME" = compat ] && [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
fi
start_xvfb

start_game "$GAME" ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" \
    SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=nosuch LD_PRELOAD="$FLIPCOUNT" \
    SKARLUME_FLIP_COUNT="$WORK/flips"
find_window
check_runtime_loaded
drawn() { [ "$(flips)" -ge 1 ]; }
wait_for 10 drawn || fail "the title was never drawn"
xdotool windowfocus --sync "$WINDOW"
xdotool key --window "$WINDOW" Escape
wait_game_exit 15
echo "exit status $GAME_STATUS; standard error:"
cat "$WORK/game.err"
[ "$GAME_STATUS" -eq 0 ] || fail "Escape on the title ended the game with $GAME_STATUS, not 0"
# A sanitized build's leak checker may add its summary of suppressions after a line of dashes.
sed '/^-\{20,\}$/,$d' "$WORK/game.err" >"$WORK/own.err"
[ "$(wc -l <"$WORK/own.err")" -eq 1 ] || fail "expected one line on standard error"
case "$(cat "$WORK/own.err")" in
    "skarlume: playing without sound: "?*) ;;
    *) fail "the line does not say the game plays without sound" ;;
esac
echo "PASS: the $RUNTIME runtime played without audio"
