#!/bin/bash
# What the real game plays, recorded by SDL's disk audio driver in a real window: a game started
# from the title with a few shots fired is heard; --mute and M give digital silence; what M chose
# is kept for the next run, while --mute is for its run only; a garbled settings file starts the
# game with the default sound, and says so.
# Usage: sound.sh GAME classic|compat GAME_DIR
set -u
GAME=$(realpath "$1")
GAME_DIR=$(realpath "$3")
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
use_runtime "$2"
if [ "$RUNTIME" = compat ] && [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
fi
SETTINGS=$XDG_CONFIG_HOME/skarlume/settings.ini
start_xvfb

# play NAME KEYS_BEFORE [OPTION...]: starts the game with its sound recorded in $WORK/NAME.raw,
# presses KEYS_BEFORE on the title (none: "-"), plays into level 1 firing three shots, and
# quits from the title.
play() {
    local name=$1 before=$2 key
    shift 2
    (cd "$GAME_DIR" && exec env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=disk \
        SDL_DISKAUDIOFILE="$WORK/$name.raw" SDL_DISKAUDIODELAY=10 "$GAME" "$@") \
        >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
    find_window
    xdotool windowfocus --sync "$WINDOW"
    sleep 0.5
    [ "$before" = - ] || xdotool key --window "$WINDOW" "$before"
    for key in Return Return Return; do
        sleep 0.3
        xdotool key --window "$WINDOW" $key
    done
    for _ in 1 2 3; do
        sleep 0.4
        xdotool key --window "$WINDOW" space
    done
    sleep 1
    # Escape leaves play for the title and the title for the desktop. A busy machine can drop
    # or delay a key, so keep pressing until the game has gone.
    local tries=0
    while running "$GAME_PID" && [ $tries -lt 20 ]; do
        xdotool key --window "$WINDOW" Escape 2>/dev/null
        sleep 0.5
        tries=$((tries + 1))
    done
    wait_game_exit 20
    [ "$GAME_STATUS" -eq 0 ] || fail "$name: the game ended with status $GAME_STATUS"
    [ -s "$WORK/$name.raw" ] || fail "$name: the disk driver recorded nothing: no audio was open"
}

# The loudest 16-bit sample recorded, and how many bytes are not zero.
loudest() { od -An -v -td2 -w2 "$WORK/$1.raw" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }'; }
nonzero() { tr -d '\000' <"$WORK/$1.raw" | wc -c; }
heard() {
    local peak
    peak=$(loudest "$1")
    echo "$1: $(stat -c %s "$WORK/$1.raw") bytes recorded, loudest sample $peak"
    [ "$(nonzero "$1")" -gt 0 ] || fail "$1: the recording is silent"
    [ "$peak" -gt "$2" ] || fail "$1: the loudest sample, $peak, is not over $2"
}
silent() {
    echo "$1: $(stat -c %s "$WORK/$1.raw") bytes recorded, $(nonzero "$1") of them not zero"
    [ "$(nonzero "$1")" -eq 0 ] || fail "$1: not digital silence"
}
setting() { grep -x "$1" "$SETTINGS" >/dev/null 2>&1; }
# The game's own lines on its standard error; the disk driver adds a warning of its own.
own_lines() { grep -c '^skarlume: ' "$WORK/game.err"; }

play sound -
# At the default volume the shot peaks near a sixth of full scale; at volume 5 it would be
# under 20.
heard sound 1000
[ "$(own_lines)" -eq 0 ] || fail "the game wrote to its standard error"

play muted-run - --mute
silent muted-run
[ ! -e "$SETTINGS" ] || fail "--mute wrote the settings file: $(cat "$SETTINGS")"

play m-pressed m
silent m-pressed
setting "mute = on" || fail "M was not kept in the settings file"

play kept-mute -
silent kept-mute

play m-again m
heard m-again 1000
setting "mute = off" || fail "M again was not kept in the settings file"

printf 'mute = on\nvolume = 5\nthis line is no setting\n' >"$SETTINGS"
play garbled -
heard garbled 1000
grep -q "^skarlume: .*using the defaults" "$WORK/game.err" ||
    fail "no warning about the garbled settings"
[ "$(own_lines)" -eq 1 ] || fail "more than the one line about the settings"
echo "PASS: sound heard and silenced on the $RUNTIME runtime"
