#!/bin/sh
# Installs, through apt-get, whatever the game, its tools and its tests need and is missing.
set -e
PACKAGES="build-essential cmake pkg-config libsdl1.2-dev libsdl-ttf2.0-dev libsdl-gfx1.2-dev
fonts-dejavu-core libgtest-dev googletest libbenchmark-dev clang libclang-rt-14-dev
xvfb xdotool imagemagick x11-apps libx11-dev libsdl1.2-compat"
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
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
