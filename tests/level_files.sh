#!/bin/bash
# The level tools on any level file: a level kept outside levels/, a replay that names its level
# by a file relative to itself, and the errors of a missing level, a missing replay, a directory
# given as the level and a 5 MB file of noise, each with status 2 and a message saying which.
# Usage: level_files.sh BUILD_DIR GAME_DIR (headless: SDL's dummy drivers)
source "$(dirname "$0")/headless_tools.sh"

# expect STATUS PATTERN COMMAND...: the command ends with STATUS and its output (both streams)
# matches the extended regular expression PATTERN.
expect() {
    local status=$1 pattern=$2
    shift 2
    local out
    out=$(cd "$GAME_DIR" && timeout 120 "$@" 2>&1)
    local got=$?
    if [ "$got" -ne "$status" ] || ! grep -qE -- "$pattern" <<<"$out"; then
        echo "FAIL: $* ended $got (wanted $status), output:" >&2
        echo "$out" | head -5 >&2
        echo "  wanted a line matching: $pattern" >&2
        failures=$((failures + 1))
    fi
}

# A copy of level 3 and its replay in a folder of their own, the replay naming its level by file.
mkdir -p "$WORK/mine/replays" "$WORK/dir"
cp "$GAME_DIR/levels/level3.txt" "$WORK/mine/bank.txt"
sed 's/^level 3$/level ..\/bank.txt/' "$GAME_DIR/solutions/level3.txt" >"$WORK/mine/replays/bank.txt"
grep -q '^level \.\./bank.txt$' "$WORK/mine/replays/bank.txt" || echo "FAIL: no replay made" >&2

expect 0 "^level $WORK/mine/bank.txt: won at frame 302, no life spent" \
    "$BUILD/replay" "$WORK/mine/replays/bank.txt"
# The replay's keys on another file, and the campaign's level by number, still win.
expect 0 "^level 3: won at frame 302" "$BUILD/replay" --level 3 "$WORK/mine/replays/bank.txt"
expect 0 "^level $WORK/mine/bank.txt: won" \
    "$BUILD/replay" --level "$WORK/mine/bank.txt" "$GAME_DIR/solutions/level3.txt"
expect 0 "^level $WORK/mine/bank.txt: crate at \(850, 275\): 1 bounce\(s\) at least" \
    "$BUILD/solve" --survey "$WORK/mine/bank.txt"

# The solver keeps its replay beside the file, naming the level relative to itself; the level
# report finds it there and measures the file.
expect 0 "wrote $WORK/mine/bank.replay" "$BUILD/solve" "$WORK/mine/bank.txt"
grep -qx 'level bank.txt' "$WORK/mine/bank.replay" || {
    echo "FAIL: bank.replay does not name bank.txt:" >&2
    head -2 "$WORK/mine/bank.replay" >&2
    failures=$((failures + 1))
}
expect 0 "^level $WORK/mine/bank.txt: won" "$BUILD/replay" "$WORK/mine/bank.replay"
expect 0 "\| $WORK/mine/bank.txt \| Bank Shot .*\| +[0-9]+ \([0-9.]+ s\) \|" \
    "$BUILD/levelreport" --random-plays 2 --late-tries 2 "$WORK/mine/bank.txt"

# The random games that win a file, kept with --wins, name the file beside them and play again.
mkdir "$WORK/wins"
expect 0 "\| $WORK/mine/bank.txt \|" \
    "$BUILD/levelreport" --random-plays 30 --late-tries 1 --wins "$WORK/wins" "$WORK/mine/bank.txt"
kept=$(find "$WORK/wins" -name 'bank-*.txt' | head -1)
if [ -z "$kept" ]; then
    echo "FAIL: levelreport --wins kept no game of bank.txt" >&2
    failures=$((failures + 1))
else
    expect 0 "^level $WORK/mine/bank.txt: won" "$BUILD/replay" "$kept"
fi
expect 2 "^levelreport: --wins $WORK/none: no such folder" \
    "$BUILD/levelreport" --wins "$WORK/none" 1

# Recording a level with nothing to shoot ends at its first frame, even headless.
printf 'Empty\nShip(487, 680)\nShipArea(312, 620) (712, 760)\n' >"$WORK/mine/empty.txt"
expect 0 "^level $WORK/mine/empty.txt: won at frame 1" \
    "$BUILD/record" "$WORK/mine/empty.txt" "$WORK/mine/replays/empty.txt"
grep -qx 'level ../empty.txt' "$WORK/mine/replays/empty.txt" || {
    echo "FAIL: the recording does not name ../empty.txt" >&2
    failures=$((failures + 1))
}

# A game directory with level 1 alone and no replays.
mkdir -p "$WORK/game/levels"
ln -s "$GAME_DIR/images" "$WORK/game/images"
cp "$GAME_DIR/levels/level1.txt" "$WORK/game/levels/"
GAME_DIR=$WORK/game
expect 2 "^solve: no level file levels/level7.txt" "$BUILD/solve" --survey 7
expect 2 "^solve: no level file levels/level7.txt" "$BUILD/solve" 7
expect 2 "^levelreport: level 7: no level file levels/level7.txt" "$BUILD/levelreport" 7
expect 2 "^levelreport: level 1: no replay solutions/level1.txt" "$BUILD/levelreport" 1
expect 2 "^replay: no level file levels/level7.txt" "$BUILD/replay" --level 7 \
    "$WORK/mine/replays/bank.txt"
expect 2 "^record: no level file levels/level7.txt" "$BUILD/record" 7 "$WORK/out.txt"
expect 2 "^solve: no level 36" "$BUILD/solve" --survey 36
# A replay kept beside a file must play that file.
cp "$WORK/game/levels/level1.txt" "$WORK/mine/other.txt"
cp "$WORK/mine/bank.replay" "$WORK/mine/other.replay"
expect 2 "other.replay plays level $WORK/mine/bank.txt, not level $WORK/mine/other.txt" \
    "$BUILD/levelreport" "$WORK/mine/other.txt"
# A replay whose level file has gone.
rm "$WORK/mine/empty.txt"
expect 2 "^replay: no level file $WORK/mine/empty.txt" \
    "$BUILD/replay" "$WORK/mine/replays/empty.txt"

# Hostile paths: a directory, a file that does not exist, a pipe, a device, 5 MB of noise.
head -c 5000000 /dev/urandom >"$WORK/noise.txt"
for tool in "solve --survey" solve levelreport "replay --level"; do
    extra=()
    [ "$tool" = "replay --level" ] && extra=("$WORK/mine/replays/bank.txt")
    name=${tool%% *}
    # shellcheck disable=SC2086
    expect 2 "^$name: .*$WORK/dir is a directory, not a level file" \
        "$BUILD/"$tool "$WORK/dir" "${extra[@]}"
    # shellcheck disable=SC2086
    expect 2 "^$name: .*no level file $WORK/nothere.txt" \
        "$BUILD/"$tool "$WORK/nothere.txt" "${extra[@]}"
done
expect 2 "^record: $WORK/dir is a directory, not a level file" \
    "$BUILD/record" "$WORK/dir" "$WORK/out.txt"
mkfifo "$WORK/pipe"
expect 2 "^solve: $WORK/pipe is not a regular file" "$BUILD/solve" --survey "$WORK/pipe"
expect 2 "^replay: /dev/zero is not a regular file" \
    "$BUILD/replay" --level /dev/zero "$WORK/mine/replays/bank.txt"
expect 2 "^solve: level $WORK/noise.txt has nothing to shoot" "$BUILD/solve" "$WORK/noise.txt"
expect 0 "^level $WORK/noise.txt: won at frame 1" \
    "$BUILD/replay" --level "$WORK/noise.txt" "$WORK/mine/replays/bank.txt"
expect 2 "^levelreport: level $WORK/noise.txt: no replay $WORK/noise.replay" \
    "$BUILD/levelreport" "$WORK/noise.txt"

[ "$failures" -eq 0 ] && echo "every level-file case holds"
exit $((failures > 0))
