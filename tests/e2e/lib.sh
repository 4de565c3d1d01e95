# Shared by the end-to-end scripts: a private X server, the real game in it on either SDL 1.2
# runtime, polling with time limits, and clean-up of both processes on every way out.
# Sourced by bash scripts; expects GAME_DIR (holding images/ and levels/) to be set.
# shellcheck shell=bash disable=SC2317 # functions called through wait_for look unreachable

SDL12_COMPAT_DIR=${SDL12_COMPAT_DIR:-/usr/lib/x86_64-linux-gnu/sdl12-compat}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/skarlume-e2e.XXXXXX")
XVFB_PID=""
# The programs under test keep their settings and progress in this run's scratch folder, never
# in a real home.
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" \
    XDG_STATE_HOME="$WORK/state"
mkdir -p "$HOME"
GAME_PID=""

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$WORK/game.err" ]; then
        echo "--- the game's standard error:" >&2
        cat "$WORK/game.err" >&2
    fi
    exit 1
}

# Stops a process this script started: politely first (SDL turns SIGTERM into a close
# request), then for sure.
stop() {
    local pid=$1 tries=0
    kill "$pid" 2>/dev/null || return 0
    while running "$pid" && [ $tries -lt 50 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

# Stops what this script started, and nothing else, whichever way the script ends.
cleanup() {
    local pid
    for pid in $GAME_PID $XVFB_PID; do
        stop "$pid"
    done
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# wait_for SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds; fails after SECONDS.
wait_for() {
    local limit=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        [ "$(now_ms)" -lt "$limit" ] || return 1
        sleep 0.05
    done
}

# start_xvfb [WIDTHxHEIGHTxDEPTH]: starts Xvfb (1280x1024x24 unless told) on the first free
# display number and exports DISPLAY once it accepts clients.
start_xvfb() {
    local screen=${1:-1280x1024x24}
    command -v Xvfb >/dev/null || fail "Xvfb is not installed (scripts/install-deps.sh installs it)"
    # Without -noreset the server resets whenever its last client leaves, and a client that
    # connects meanwhile (the game, right after an xdotool call) has its connection reset.
    Xvfb -displayfd 3 -noreset -screen 0 "$screen" -nolisten tcp 3>"$WORK/display" \
        >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    wait_for 20 grep -q '[0-9]' "$WORK/display" || {
        cat "$WORK/xvfb.log" >&2
        fail "Xvfb did not start"
    }
    DISPLAY=":$(tr -dc 0-9 <"$WORK/display")"
    export DISPLAY
    accepts_clients() {
        running "$XVFB_PID" || fail "Xvfb on $DISPLAY ended: $(cat "$WORK/xvfb.log")"
        xdotool getdisplaygeometry >/dev/null 2>&1
    }
    wait_for 20 accepts_clients || fail "Xvfb on $DISPLAY accepts no clients"
}

# use_runtime classic|compat: picks the SDL 1.2 library that the game will load.
use_runtime() {
    RUNTIME=$1
    case "$RUNTIME" in
        classic) unset LD_LIBRARY_PATH ;;
        compat)
            [ -e "$SDL12_COMPAT_DIR/libSDL-1.2.so.0" ] ||
                fail "sdl12-compat is not installed in $SDL12_COMPAT_DIR (package libsdl1.2-compat)"
            export LD_LIBRARY_PATH="$SDL12_COMPAT_DIR${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
            ;;
        *) fail "unknown runtime '$RUNTIME' (classic or compat)" ;;
    esac
}

# start_game BINARY [ENV=VALUE...]: runs the game from GAME_DIR, where images/ and levels/ are.
start_game() {
    local binary=$1
    shift
    (cd "$GAME_DIR" && exec env "$@" "$binary") >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
}

# Whether a child of this script still runs: it exists and is not a zombie awaiting `wait`.
running() {
    local state
    state=$(sed 's/^.*) //' "/proc/$1/stat" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "${state%% *}" != Z ]
}

game_running() { running "$GAME_PID"; }

# Checks that the running game really loaded the SDL 1.2 library of the chosen runtime.
check_runtime_loaded() {
    local sdl
    sdl=$(grep -o '/[^ ]*libSDL-1\.2\.so[^ ]*' "/proc/$GAME_PID/maps" | head -n 1)
    [ -n "$sdl" ] || fail "the game has no SDL 1.2 library mapped"
    case "$RUNTIME:$sdl" in
        compat:"$SDL12_COMPAT_DIR"/* | classic:*) ;;
        *) fail "runtime $RUNTIME expected, but the game loaded $sdl" ;;
    esac
    if [ "$RUNTIME" = classic ] && [ "${sdl#"$SDL12_COMPAT_DIR"/}" != "$sdl" ]; then
        fail "classic runtime expected, but the game loaded $sdl"
    fi
    echo "runtime $RUNTIME: $sdl"
}

# find_window [TITLE_REGEX]: waits until the game (or the tool started as GAME_PID) shows its
# window, the game's own title by default, and sets WINDOW to its id.
find_window() {
    local found title=${1:-^Skarlume\$}
    found_window() {
        game_running || fail "the game ended before it showed a window"
        found=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1)
        [ -n "$found" ]
    }
    wait_for 30 found_window || fail "no visible window titled $title within 30 s"
    WINDOW=$found
}

# wait_window_gone TITLE_REGEX: waits until no window of that title is left, so that the next
# find_window cannot take a closed program's window that the X server has yet to drop.
wait_window_gone() {
    none_left() { [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }
    wait_for 10 none_left "$1" || fail "a window titled $1 is still there 10 s after its program ended"
}

# Waits up to SECONDS for the game to end; sets GAME_STATUS to its exit status.
wait_game_exit() {
    wait_for "$1" eval '! game_running' || fail "the game did not end within $1 s"
    wait "$GAME_PID"
    GAME_STATUS=$?
    GAME_PID=""
}

# Processor time (user + system) the game has used so far, in clock ticks.
game_cpu_ticks() {
    # Fields after the parenthesised command name: utime and stime are the 12th and 13th.
    sed 's/^.*) //' "/proc/$GAME_PID/stat" 2>/dev/null | awk '{ print $12 + $13 }'
}

# The frames drawn so far: the whole lines that the preloaded frame timer (flipcount.c) has
# written to $WORK/flips, one for each of the program's own flips.
flips() {
    local count
    count=$(wc -l <"$WORK/flips" 2>/dev/null)
    echo "${count:-0}"
}

# check_pacing FIRST LAST: fails when frames FIRST+1..LAST held more than 60 in any second.
# A frame lasts from one flip to the next. The pacer starts every frame at its own deadline or
# later, the deadlines 1/60 s apart, so any 61 frames in a row take longer than a second: no
# second ever holds more than 60 whole frames. A late frame only makes that easier, so a busy
# machine never fails this; sets PACING to what was seen.
check_pacing() {
    PACING=$(sed -n "$(($1 + 1)),${2}p" "$WORK/flips" | awk '
    { at[NR] = $1 }
    END {
        shortest = -1
        for (i = 1; i + 61 <= NR; ++i) {
            span = at[i + 61] - at[i]
            if (shortest < 0 || span < shortest) { shortest = span; from = i }
        }
        if (shortest < 0) { print "fewer than 62 frames: nothing to check"; exit 0 }
        printf "the shortest run of 61 frames took %.1f ms", shortest / 1e6
        if (shortest <= 1e9) { printf " (from frame %d)", from; exit 1 }
    }') || fail "more than 60 frames within one second: $PACING"
    echo "pacing: $PACING"
}

# ---- Screens compared with the game's own pictures (the caller sets IMAGES and SHOTS).
# Colours may differ by the 16-bit display's rounding; positions must match exactly.
FUZZ=${FUZZ:-6%}
# Pixels allowed to differ from the expected screen (a window edge, a stray rounding).
MOST_DIFFERENT=${MOST_DIFFERENT:-16}

# expected NAME BASE [PICTURE X Y]: the screen the game should show: its full-window picture
# with, optionally, a second picture on top, white transparent in both. Where the result is
# white, what shows through is whatever was drawn before, so those pixels are left out.
expected() {
    local name=$1 base=$2
    shift 2
    if [ $# -gt 0 ]; then
        convert "$IMAGES/$base" \( "$IMAGES/$1" -transparent white \) -geometry "+$2+$3" \
            -composite -alpha off "$WORK/$name.png"
    else
        convert "$IMAGES/$base" -alpha off "$WORK/$name.png"
    fi
    convert "$WORK/$name.png" -transparent white "$WORK/$name-known.png"
}

# The number of known pixels of expected screen NAME that differ in screenshot SHOT.
differing() {
    convert "$WORK/$1-known.png" "$2" -compose Src_In -composite -background white \
        -alpha remove -alpha off "$WORK/masked.png"
    compare -metric AE -fuzz "$FUZZ" "$WORK/masked.png" "$WORK/$1.png" null: 2>&1 |
        sed 's/ .*//'
}

# expect_screen STEP NAME: waits until the window shows expected screen NAME; keeps the shot.
expect_screen() {
    local shot="$SHOTS/$1.png"
    LAST_DIFFERENCE="no screenshot"
    matches() {
        import -window "$WINDOW" "$shot" 2>/dev/null || return 1
        LAST_DIFFERENCE=$(differing "$2" "$shot")
        [ "$LAST_DIFFERENCE" -le "$MOST_DIFFERENT" ] 2>/dev/null
    }
    wait_for 15 matches "$1" "$2" ||
        fail "step $1: the window does not show $2 ($LAST_DIFFERENCE pixels differ; see $shot)"
    local size
    size=$(identify -format '%wx%h' "$shot")
    [ "$size" = 1024x768 ] || fail "step $1: the window is $size, not 1024x768"
    echo "step $1: shows $2 ($LAST_DIFFERENCE pixels differ)"
}

