# Sourced by the tests that run the headless tools whole: BUILD and GAME_DIR from the two
# arguments, a scratch WORK folder removed at the end, the dummy drivers and a home of its own,
# and a count of failures.
set -u
BUILD=$(realpath "$1")
GAME_DIR=$(realpath "$2")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/skarlume-tools.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy HOME="$WORK/home" \
    XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" XDG_STATE_HOME="$WORK/state"
failures=0
