#!/bin/sh
# Starts Skarlume: the game reads its pictures and levels from its working directory, so this
# changes into the installed data first. It finds both beside itself (PREFIX/games), which
# keeps an installed tree movable.
prefix=$(dirname "$(dirname "$(readlink -f "$0")")")
data=$prefix/share/games/skarlume
game=$prefix/lib/games/skarlume/skarlume
if [ ! -x "$game" ] || [ ! -d "$data/images" ] || [ ! -d "$data/levels" ]; then
    echo "skarlume: the game is not installed completely: $game or $data is missing" >&2
    exit 1
fi
# Without a display SDL 1.2 would quietly fall back to drawing text art in the terminal.
if [ -z "$DISPLAY$WAYLAND_DISPLAY$SDL_VIDEODRIVER" ]; then
    echo "skarlume: no display to open the game's window on (DISPLAY is not set)" >&2
    exit 1
fi
# A level file or folder named on the command line means what it meant where the player stood.
here=$(pwd)
paths_only=
for argument; do
    shift
    case "$paths_only$argument" in
        --) paths_only=yes ;;
        -*) ;;
        yes/* | /*) ;;
        yes*) argument="$here/$argument" ;;
        *) argument="$here/$argument" ;;
    esac
    set -- "$@" "${argument}"
done
cd "$data" || exit 1
exec "$game" "$@"
