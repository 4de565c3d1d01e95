#!/bin/bash
# Starts the real game, headless, where "images/Crate.bmp" is missing: it must name that file,
# say the pictures could not be loaded and end with status 1, having tried no later picture.
# Usage: missing_picture.sh GAME classic|compat GAME_DIR
set -u
GAME=$(realpath "$1")
GAME_DIR=$(realpath "$3")
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
use_runtime "$2"

# The pictures loaded before the crate, in loading order; every other one is made unreadable,
# so that an attempt to load any picture after the crate would print an error of its own.
BEFORE_CRATE=("space.bmp" "Ship.bmp" "Ship2.bmp" "Ship3.bmp" "Forward Shooter-N.bmp"
    "Forward Shooter-E.bmp" "Forward Shooter-S.bmp" "Forward Shooter-W.bmp"
    "Dual Shooter-V.bmp" "Dual Shooter-H.bmp")

SCRATCH=$WORK/game
mkdir -p "$SCRATCH/images"
cp -r "$GAME_DIR/levels" "$SCRATCH/" 2>/dev/null || mkdir -p "$SCRATCH/levels"
[ -e "$GAME_DIR/images/Crate.bmp" ] || fail "$GAME_DIR/images has no Crate.bmp to leave out"
garbage=0
for picture in "$GAME_DIR"/images/*.bmp; do
    name=$(basename "$picture")
    # The editor's glyph sheet (images/editor-*) is no picture of the game's.
    case "$name" in Crate.bmp | editor-*) continue ;; esac
    if printf '%s\n' "${BEFORE_CRATE[@]}" | grep -qxF "$name"; then
        cp "$picture" "$SCRATCH/images/"
    else
        echo "not a picture" >"$SCRATCH/images/$name"
        garbage=$((garbage + 1))
    fi
done
[ "$garbage" -eq 23 ] || fail "expected 23 pictures after the crate, found $garbage"

(cd "$SCRATCH" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 30 "$GAME") \
    >"$WORK/out" 2>"$WORK/err"
status=$?
echo "exit status $status; standard error:"
cat "$WORK/err"

[ "$status" -eq 1 ] || fail "exit status $status, not 1"
[ ! -s "$WORK/out" ] || fail "the game wrote to standard output"
[ "$(wc -l <"$WORK/err")" -eq 2 ] || fail "expected exactly two lines on standard error"
first=$(sed -n 1p "$WORK/err")
second=$(sed -n 2p "$WORK/err")
case "$first" in
    "Error loading images/Crate.bmp: "?*) ;;
    *) fail "first line is not the loader's error for images/Crate.bmp" ;;
esac
[ "$second" = "Unable to load images." ] || fail "second line is not 'Unable to load images.'"
echo "PASS: start-up stopped at the crate on the $RUNTIME runtime"
