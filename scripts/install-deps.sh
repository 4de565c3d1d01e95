#!/bin/sh
# Installs, through apt-get, whatever the game, its tools and its tests need and is missing;
# does nothing (and needs no network) when everything is there.
set -e
# Build: compiler, CMake, SDL 1.2 and the libraries the picture maker draws with.
# Tests: GoogleTest, Google Benchmark, clang's fuzzer and sanitizer runtimes; for the real-window
# tests an X server (xvfb), key presses (xdotool), screenshots and pixel comparison (imagemagick),
# xdpyinfo (x11-utils) for the processor-use benchmark,
# Xlib for tools/closewindow, and sdl12-compat beside the classic SDL 1.2 as a second runtime.
PACKAGES="build-essential cmake pkg-config libsdl1.2-dev libsdl-ttf2.0-dev libsdl-gfx1.2-dev
fonts-dejavu-core libgtest-dev googletest libbenchmark-dev clang libclang-rt-14-dev
xvfb xdotool imagemagick x11-utils libx11-dev libsdl1.2-compat"
missing=""
for package in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
        missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -qq
# shellcheck disable=SC2086 # one word per package
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
