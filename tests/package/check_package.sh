#!/bin/bash
# Builds the Debian package from the build directory and checks what it installs: the file
# layout, the menu entry and software-centre metadata, lintian's verdict, the installed game
# drawing its title when started from an unrelated directory, and the installed level tools
# working there. Then installs with `cmake --install` under another prefix and checks that the
# same layout, moved, still runs.
# Usage: check_package.sh BUILD_DIR GAME_DIR FIRST_FLIP_SHOT_LIBRARY [EXTRA_TOOL...]
set -u
BUILD=$(realpath "$1")
GAME_DIR=$(realpath "$2")
SHOT_LIBRARY=$(realpath "$3")
shift 3
TOOLS=(checklevel record replay solve "$@")
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/../e2e/lib.sh"

for tool in cpack dpkg-deb lintian desktop-file-validate appstreamcli convert compare file; do
    command -v $tool >/dev/null ||
        fail "$tool is not installed (scripts/install-deps.sh test installs it)"
done
export SDL_AUDIODRIVER=dummy

# ---- The package ----
echo "== cpack -G DEB"
(cd "$BUILD" && cpack -G DEB -B "$WORK/cpack") >"$WORK/cpack.log" 2>&1 ||
    { cat "$WORK/cpack.log"; fail "cpack failed"; }
shopt -s nullglob
debs=("$WORK"/cpack/skarlume_*_"$(dpkg --print-architecture)".deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one skarlume_VERSION_ARCH.deb, found: ${debs[*]:-none}"
DEB=${debs[0]}
echo "package: $(basename "$DEB")"

field() { dpkg-deb -f "$DEB" "$1"; }
VERSION=$(field Version)
[ "$(basename "$DEB")" = "skarlume_${VERSION}_$(field Architecture).deb" ] ||
    fail "the file name does not follow the package's version and architecture"
[ "$(field Section)" = games ] || fail "section is '$(field Section)', not games"
depends=$(field Depends)
echo "Depends: $depends"
case "$depends" in *libsdl1.2debian*) ;; *) fail "Depends does not name SDL 1.2's runtime" ;; esac
case "$depends" in *-dev*) fail "Depends names a development package" ;; esac

ROOT=$WORK/root
dpkg-deb -x "$DEB" "$ROOT" || fail "dpkg-deb -x failed"
zcat "$ROOT/usr/share/doc/skarlume/changelog.gz" | head -n 1 | grep -q "^skarlume ($VERSION) " ||
    fail "the changelog's latest entry is not version $VERSION"

# ---- The layout ----
# expected_files PREFIX: every file and link that an install under PREFIX must hold, sorted.
expected_files() {
    local prefix=$1 tool n picture
    {
        echo "$prefix/games/skarlume"
        for tool in "${TOOLS[@]}"; do
            echo "$prefix/games/skarlume-$tool"
            echo "$prefix/share/man/man6/skarlume-$tool.6.gz"
        done
        echo "$prefix/lib/games/skarlume/skarlume"
        echo "$prefix/share/applications/skarlume.desktop"
        echo "$prefix/share/metainfo/skarlume.metainfo.xml"
        echo "$prefix/share/man/man6/skarlume.6.gz"
        echo "$prefix/share/doc/skarlume/changelog.gz"
        echo "$prefix/share/doc/skarlume/copyright"
        for n in 48 128 256; do
            echo "$prefix/share/icons/hicolor/${n}x$n/apps/skarlume.png"
        done
        for picture in "$GAME_DIR"/images/*.bmp "$GAME_DIR"/sounds/*.wav; do
            echo "$prefix/share/games/skarlume/$(basename "$(dirname "$picture")")/$(basename "$picture")"
        done
        for n in $(seq 1 35); do
            echo "$prefix/share/games/skarlume/levels/level$n.txt"
            echo "$prefix/share/games/skarlume/solutions/level$n.txt"
        done
    } | sort
}
# check_layout ROOT PREFIX: the files under ROOT are exactly those expected under PREFIX.
check_layout() {
    local root=$1 prefix=$2
    (cd "$root" && find . \( -type f -o -type l \) -printf '/%P\n' | sort) >"$WORK/found"
    expected_files "$prefix" >"$WORK/expected"
    diff -u "$WORK/expected" "$WORK/found" >"$WORK/layout.diff" ||
        { cat "$WORK/layout.diff"; fail "the installed files under $prefix differ from the layout"; }
    echo "layout under $prefix: $(wc -l <"$WORK/found") files, as expected"
    local picture
    for picture in "$GAME_DIR"/images/*.bmp "$GAME_DIR"/sounds/*.wav; do
        cmp -s "$picture" \
            "$root$prefix/share/games/skarlume/$(basename "$(dirname "$picture")")/$(basename "$picture")" ||
            fail "installed file $(basename "$picture") differs from the build's"
    done
    [ "$(readlink "$root$prefix/share/man/man6/skarlume-solve.6.gz")" = skarlume.6.gz ] ||
        fail "the tools' manual pages do not lead to skarlume(6)"
}
check_layout "$ROOT" /usr

for program in "$ROOT"/usr/games/skarlume-* "$ROOT"/usr/lib/games/skarlume/skarlume; do
    file "$program" | grep -q "not stripped" && fail "$program is not stripped"
done

# ---- Menu entry, metadata, icons, lintian ----
desktop-file-validate "$ROOT/usr/share/applications/skarlume.desktop" ||
    fail "desktop-file-validate rejects the menu entry"
grep -qx 'Exec=/usr/games/skarlume' "$ROOT/usr/share/applications/skarlume.desktop" ||
    fail "the menu entry does not start /usr/games/skarlume"
grep -qx 'Categories=Game;ArcadeGame;' "$ROOT/usr/share/applications/skarlume.desktop" ||
    fail "the menu entry is not in Game and ArcadeGame"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/skarlume.metainfo.xml" ||
    fail "appstreamcli rejects the metadata"
grep -q "<release version=\"$VERSION\"" "$ROOT/usr/share/metainfo/skarlume.metainfo.xml" ||
    fail "the metadata does not list release $VERSION"
for n in 48 128 256; do
    icon=$ROOT/usr/share/icons/hicolor/${n}x$n/apps/skarlume.png
    # Size, then the alpha of a corner (outside the rounded square) and of the middle.
    read -r size corner middle < <(convert "$icon" \
        -format "%wx%h %[fx:p{0,0}.a] %[fx:p{$((n / 2)),$((n / 2))}.a]\n" info:)
    [ "$size" = "${n}x$n" ] || fail "the ${n}x$n icon is $size"
    [ "$corner" = 0 ] && [ "$middle" = 1 ] ||
        fail "the ${n}x$n icon's corner alpha is $corner and middle alpha $middle (want 0 and 1)"
done
echo "menu entry, metadata and icons: valid"
lintian --fail-on error "$DEB" >"$WORK/lintian.log" 2>&1 ||
    { cat "$WORK/lintian.log"; fail "lintian reports an error"; }
echo "lintian: no error ($(grep -c '^W:' "$WORK/lintian.log") warnings)"

# ---- The installed game, started from elsewhere ----
ELSEWHERE=$WORK/elsewhere
mkdir -p "$ELSEWHERE"
TITLE_NEW_GAME=$WORK/title-new-game.png
TITLE_CREDITS=$WORK/title-credits.png
DATA=$ROOT/usr/share/games/skarlume
for selected in "new-game 345 304" "credits 346 473"; do
    read -r name x y <<<"$selected"
    convert "$DATA/images/StartMenu.bmp" \( "$DATA/images/StartMenuOutline.bmp" -transparent white \) \
        -geometry "+$x+$y" -composite -alpha off "$WORK/title-$name.png"
done
# different SHOT EXPECTED: how many pixels differ beyond the 16-bit display's rounding.
different() { compare -metric AE -fuzz 6% "$1" "$2" null: 2>&1 | sed 's/ .*//'; }

# start_installed PREFIX_ROOT: the launcher, run headless from the unrelated directory, saving
# its first drawn frame; sets STATUS.
start_installed() {
    rm -f "$WORK/first-flip.bmp"
    (cd "$ELSEWHERE" && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy \
        LD_PRELOAD="$SHOT_LIBRARY" FIRST_FLIP_SHOT="$WORK/first-flip.bmp" \
        timeout 60 "$1/games/skarlume") >"$WORK/game.out" 2>"$WORK/game.err"
    STATUS=$?
}
# check_title PREFIX_ROOT: the launcher under PREFIX_ROOT draws the title with New Game chosen.
check_title() {
    start_installed "$1"
    [ "$STATUS" -eq 0 ] && [ -s "$WORK/first-flip.bmp" ] ||
        fail "the launcher under $1 drew no frame (status $STATUS)"
    local off wrong
    off=$(different "$WORK/first-flip.bmp" "$TITLE_NEW_GAME")
    wrong=$(different "$WORK/first-flip.bmp" "$TITLE_CREDITS")
    [ "$off" -le 16 ] 2>/dev/null ||
        fail "the first frame is not the title with New Game chosen ($off pixels differ)"
    # The same comparison tells the other selection apart, so it can see a wrong screen.
    [ "$wrong" -gt 1000 ] 2>/dev/null ||
        fail "the title with Credits chosen differs by only $wrong pixels: the check is blind"
    echo "launcher $1/games/skarlume from $ELSEWHERE: title drawn ($off pixels off)"
}
check_title "$ROOT/usr"

(cd "$ELSEWHERE" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
    "$ROOT/usr/games/skarlume") >"$WORK/game.out" 2>"$WORK/game.err"
status=$?
[ $status -eq 1 ] && grep -q "no display" "$WORK/game.err" ||
    fail "without a display the launcher did not refuse clearly (status $status)"

# A level file named from elsewhere means the file there, and one that is missing is refused
# by name before any window opens.
(cd "$ELSEWHERE" && env SDL_VIDEODRIVER=dummy "$ROOT/usr/games/skarlume" "no such level.txt") \
    >"$WORK/game.out" 2>"$WORK/game.err"
status=$?
[ $status -eq 1 ] && grep -qF "$ELSEWHERE/no such level.txt does not exist" "$WORK/game.err" ||
    fail "the launcher did not refuse a missing level file by name (status $status): $(cat "$WORK/game.err")"

# ---- The installed level tools, from elsewhere ----
# run_tool NAME ARGUMENT...: runs the installed tool from the unrelated directory; sets OUT.
run_tool() {
    local name=$1
    shift
    OUT=$(cd "$ELSEWHERE" && SDL_VIDEODRIVER=dummy timeout 120 \
        "$TOOL_ROOT/games/skarlume-$name" "$@" 2>&1)
    TOOL_STATUS=$?
    echo "skarlume-$name $*: $OUT" | head -n 3
}
# check_tools PREFIX_ROOT: checker, replay and solver under PREFIX_ROOT work on its data.
check_tools() {
    TOOL_ROOT=$1
    local data=$1/share/games/skarlume
    run_tool checklevel "$data/levels/level7.txt"
    [ $TOOL_STATUS -eq 0 ] && [ "$OUT" = "$data/levels/level7.txt: OK" ] ||
        fail "the installed checker does not pass shipped level 7"
    # A name relative to where the tool was started keeps meaning that file.
    cp "$data/levels/level4.txt" "$ELSEWHERE/my level.txt"
    printf 'Broken\nShip(10, 10)\nwall(0, 0) (0, 100)\n' >"$ELSEWHERE/broken.txt"
    run_tool checklevel "my level.txt" broken.txt
    [ $TOOL_STATUS -eq 1 ] && grep -qx "$ELSEWHERE/my level.txt: OK" <<<"$OUT" &&
        grep -q "^$ELSEWHERE/broken.txt" <<<"$OUT" ||
        fail "the installed checker did not read the files named from $ELSEWHERE"
    run_tool replay "$data/solutions/level12.txt"
    [ $TOOL_STATUS -eq 0 ] && [ "$OUT" = "$BUILD_REPLAY_12" ] ||
        fail "the installed replay does not end level 12 as the build's replay does"
    # The solver writes its default file where it was started, never into the installed data.
    rm -rf "$ELSEWHERE/solutions"
    run_tool solve 1
    [ $TOOL_STATUS -eq 0 ] && [ -s "$ELSEWHERE/solutions/level1.txt" ] ||
        fail "the installed solver did not write solutions/level1.txt in $ELSEWHERE"
    cmp -s "$data/solutions/level1.txt" "$GAME_DIR/solutions/level1.txt" ||
        fail "the installed solver changed the installed solution of level 1"
    run_tool replay solutions/level1.txt
    [ $TOOL_STATUS -eq 0 ] || fail "the solver's replay of level 1 does not win"
    # The editor, when it was packaged: a new level named from elsewhere, drawn with the
    # installed pictures and glyph sheet into a picture written where it was started.
    if [ -e "$TOOL_ROOT/games/skarlume-editor" ]; then
        rm -f "$ELSEWHERE/editor.bmp"
        run_tool editor --shot editor.bmp "new level.txt"
        [ $TOOL_STATUS -eq 0 ] && [ -s "$ELSEWHERE/editor.bmp" ] ||
            fail "the installed editor did not draw a new level into $ELSEWHERE/editor.bmp"
        [ ! -e "$ELSEWHERE/new level.txt" ] || fail "the installed editor wrote a level unasked"
        # A bare name is one of the player's own levels, where `skarlume DIR` finds them.
        case "$OUT" in
            *"editing $XDG_DATA_HOME/skarlume/levels/new level.txt"*) ;;
            *) fail "the installed editor did not keep a bare-named level among the player's own: $OUT" ;;
        esac
    fi
}
BUILD_REPLAY_12=$(cd "$GAME_DIR" && SDL_VIDEODRIVER=dummy "$BUILD/replay" solutions/level12.txt)
case "$BUILD_REPLAY_12" in "level 12: won at frame "*) ;; *) fail "the build's replay of level 12: $BUILD_REPLAY_12" ;; esac
check_tools "$ROOT/usr"

# ---- cmake --install under another prefix, moved after installing ----
echo "== cmake --install --prefix /opt/skarlume with DESTDIR"
DEST=$WORK/dest
DESTDIR=$DEST cmake --install "$BUILD" --prefix /opt/skarlume >"$WORK/install.log" 2>&1 ||
    { cat "$WORK/install.log"; fail "cmake --install failed"; }
check_layout "$DEST" /opt/skarlume
grep -qx 'Exec=/opt/skarlume/games/skarlume' "$DEST/opt/skarlume/share/applications/skarlume.desktop" ||
    fail "the menu entry does not name the install prefix"
mv "$DEST/opt/skarlume" "$WORK/moved"
check_title "$WORK/moved"
check_tools "$WORK/moved"
echo "PASS: the package and the installed tree work as installed"
