#!/bin/sh
# Installs what building and playing need and is missing, builds the game (drawing its
# pictures) and starts it here, beside images/ and levels/.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh play
# Without a display SDL 1.2 would quietly fall back to drawing text art in the terminal.
if [ -z "$DISPLAY$WAYLAND_DISPLAY$SDL_VIDEODRIVER" ]; then
    echo "scripts/play.sh: no display (DISPLAY is not set)" >&2
    exit 1
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKARLUME_SANITIZE=OFF >/dev/null
cmake --build build -j "$(nproc)" --target skarlume
exec ./build/skarlume
