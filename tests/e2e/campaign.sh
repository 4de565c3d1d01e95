#!/bin/bash
# A player's own level and a campaign kept, in a real X window with real keys.
#   own:      `skarlume FILE` on a level won with one shot opens in play, not on the title,
#             with the level's name in the caption; Space wins it, and Return then goes back
#             to the title.
#   progress: with no progress the title is today's; level 1 won and level 2 reached are kept,
#             so the next start's title offers to continue, which starts level 2 with four
#             ships.
# Usage: campaign.sh GAME classic|compat GAME_DIR own|progress
set -u
GAME=$(realpath "$1")
GAME_DIR=$(realpath "$3")
CASE=$4
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
use_runtime "$2"
if [ "$RUNTIME" = compat ] && [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
fi
for tool in xdotool import compare convert; do
    command -v $tool >/dev/null || fail "$tool is not installed (scripts/install-deps.sh installs it)"
done
IMAGES=$GAME_DIR/images
SHOTS=${CAMPAIGN_SHOTS:-$WORK/shots}
mkdir -p "$SHOTS"

press() {
    xdotool windowfocus --sync "$WINDOW" key "$1" || fail "xdotool could not press $1"
}

# wait_caption TEXT: waits until the game's window is captioned TEXT.
wait_caption() {
    CAPTION=""
    captioned() {
        game_running || fail "the game ended while its caption was to become '$1'"
        CAPTION=$(xdotool getwindowname "$WINDOW" 2>/dev/null)
        [ "$CAPTION" = "$1" ]
    }
    wait_for 15 captioned "$1" || fail "the caption is '$CAPTION', not '$1'"
    echo "caption: $CAPTION"
}

# The part of the window where the spare lives are, with nothing else that moves in level 2.
spare_lives() {
    import -window "$WINDOW" -crop 200x68+824+700 +repage "$1" 2>/dev/null
}

expected title-new-game StartMenu.bmp StartMenuOutline.bmp 345 304
expected level-complete LevelComplete.bmp
start_xvfb

case "$CASE" in
own)
    own="$WORK/my level.txt"
    sed '1s/.*/Friend'"'"'s Gift: straight up/' "$GAME_DIR/levels/level1.txt" >"$own"
    (cd "$GAME_DIR" && exec env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$GAME" "$own") \
        >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
    find_window '^Skarlume - '
    check_runtime_loaded
    wait_caption "Skarlume - Friend's Gift"
    # The window takes keys once it is mapped and focused.
    sleep 0.5
    press space
    # The level-complete picture, with a line of lettering over it.
    MOST_DIFFERENT=5000 expect_screen 1-won level-complete
    wait_caption Skarlume
    press Return
    expect_screen 2-title title-new-game
    press Escape
    wait_game_exit 15
    [ "$GAME_STATUS" -eq 0 ] || fail "the game ended with $GAME_STATUS"
    ;;
progress)
    [ -z "$(ls -A "$XDG_DATA_HOME" 2>/dev/null)" ] || fail "the data folder is not empty"
    start_game "$GAME" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
    find_window
    check_runtime_loaded
    # No progress: the title of today, its two items and nothing else.
    expect_screen 1-title-today title-new-game
    for step in title instructions; do press Return; done
    press Return
    wait_caption "Skarlume - Level 1: First Light"
    sleep 0.5
    press space
    MOST_DIFFERENT=5000 expect_screen 2-won level-complete
    grep -qx 'levels = 2' "$XDG_DATA_HOME/skarlume/progress.ini" ||
        fail "level 2 is not kept as reached: $(cat "$XDG_DATA_HOME/skarlume/progress.ini" 2>&1)"
    press Return
    wait_caption "Skarlume - Level 2: Open Lane"
    sleep 0.5
    spare_lives "$SHOTS/new-game-lives.png" || fail "no screenshot of the spare lives"
    press Escape
    wait_caption Skarlume
    press Escape
    wait_game_exit 15
    [ "$GAME_STATUS" -eq 0 ] || fail "the game ended with $GAME_STATUS"
    wait_window_gone '^Skarlume$'

    start_game "$GAME" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
    find_window
    shot="$SHOTS/3-title-continue.png"
    offers() {
        import -window "$WINDOW" "$shot" 2>/dev/null || return 1
        [ "$(differing title-new-game "$shot")" -gt "$MOST_DIFFERENT" ] 2>/dev/null
    }
    wait_for 15 offers || fail "the title with progress is today's: no Continue"
    echo "the title offers to continue ($(differing title-new-game "$shot") pixels differ from today's)"
    press Return
    press Return
    wait_caption "Skarlume - Level 2: Open Lane"
    sleep 0.5
    spare_lives "$SHOTS/continued-lives.png" || fail "no screenshot of the spare lives"
    # Four ships: the same three spare ships as in the new game that reached level 2 unhurt.
    same=$(compare -metric AE -fuzz 6% "$SHOTS/new-game-lives.png" "$SHOTS/continued-lives.png" \
        null: 2>&1 | sed 's/ .*//')
    [ "$same" -le "$MOST_DIFFERENT" ] 2>/dev/null ||
        fail "the continued game shows other spare lives than a new one ($same pixels differ)"
    blank=$(convert "$SHOTS/continued-lives.png" -crop 150x60+50+8 +repage -format '%[fx:standard_deviation]' info:)
    echo "spare lives as in a new game ($same pixels differ; spread $blank)"
    press Escape
    wait_caption Skarlume
    press Escape
    wait_game_exit 15
    [ "$GAME_STATUS" -eq 0 ] || fail "the game ended with $GAME_STATUS"
    ;;
*) fail "unknown case $CASE (own or progress)" ;;
esac
echo "campaign $CASE on $RUNTIME: passed"
