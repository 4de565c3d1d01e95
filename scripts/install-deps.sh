#!/bin/sh
# Installs, through apt-get, whatever is missing: with "play", what building and playing the
# game needs; with "web", that and what the web build needs; with "test" (the default), all of
# it and everything the tests and the package check need. Does nothing (and needs no network)
# when everything is there.
set -e
# Play: compiler, make, CMake, pkg-config, SDL 1.2, and the libraries, font and zlib that the
# picture maker draws and packs the icons with.
PLAY_PACKAGES="g++ make cmake pkg-config libsdl1.2-dev libsdl-ttf2.0-dev libsdl-gfx1.2-dev
fonts-dejavu-core zlib1g-dev"
# Tests: GoogleTest, clang's fuzzer and sanitizer runtimes; for the real-window
# tests an X server (xvfb), key presses (xdotool), screenshots and pixel comparison (imagemagick),
# xdpyinfo (x11-utils) for the processor-use benchmark, Xlib for tests/e2e/closewindow, and
# sdl12-compat beside the classic SDL 1.2 as a second runtime; for the package check
# dpkg-shlibdeps (dpkg-dev) and file, which cpack uses, lintian, desktop-file-validate and
# appstreamcli.
TEST_PACKAGES="libgtest-dev googletest clang libclang-rt-14-dev
xvfb xdotool imagemagick x11-utils libx11-dev libsdl1.2-compat
dpkg-dev file lintian desktop-file-utils appstream"
# Web: emscripten, which compiles the game for a browser with its own SDL 1.2, and cwebp
# (webp), which packs the full-window pictures; the web tests also need chromium and node.
WEB_PACKAGES="emscripten webp"
WEB_TEST_PACKAGES="chromium nodejs"
case "${1:-test}" in
    play) PACKAGES=$PLAY_PACKAGES ;;
    web) PACKAGES="$PLAY_PACKAGES $WEB_PACKAGES" ;;
    test) PACKAGES="$PLAY_PACKAGES $TEST_PACKAGES $WEB_PACKAGES $WEB_TEST_PACKAGES" ;;
    *)
        echo "usage: scripts/install-deps.sh [play|web|test]" >&2
        exit 2
        ;;
esac
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
