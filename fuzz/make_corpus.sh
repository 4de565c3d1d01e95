#!/bin/sh
# Seeds for the level-file fuzzer: every shipped level, the benchmark's stress level, and a few
# hostile files that a fuzzer would take long to find on its own. Usage: make_corpus.sh DIR
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:?usage: make_corpus.sh DIR}"
mkdir -p "$out"
for level in "$root"/levels/level*.txt; do
    [ -f "$level" ] && cp "$level" "$out/shipped-$(basename "$level")"
done
cp "$root/bench/stress_level.txt" "$out/stress.txt"
printf 'Ship(480, 680)\r\nShipArea(300, 600) (724, 760)\r\nWall(100, 100) (100, 400)\r\n' > "$out/crlf.txt"
printf 'Wall(99999999999, 1) (2, -99999999999)\nShip(2147483648, -2147483649)\n' > "$out/huge.txt"
printf 'Wall(10000, -10000) (-10000, 10000)\nWall(-10000, -10000) (10000, 10000)\n' > "$out/edges.txt"
printf 'EnemyDual(10, 10\nEnemyForward(5, 5)UP(1, 2(3, 4)) ((\nCrate(1,\n' > "$out/unclosed.txt"
printf 'EnemyForward(100, 100)DOWN(100, 100)(100, 100)\nEnemyDual(200, 200) LEFT\n' > "$out/still.txt"
printf 'Ship(1\000, 2)\nWall(0, 0)\000(5, 5)\nCrate(\000' > "$out/nul.txt"
head -c 3000 /dev/zero | tr '\0' '(' > "$out/parentheses.txt"
