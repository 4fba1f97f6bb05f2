#!/usr/bin/env bash
# Wall time from start to the first window, median of many starts on a
# private Xvfb: the program on a copy of its program folder, and the least
# Qt Widgets program (the floor Qt itself sets) in the same run.
# Usage: bench/start_time.sh [BUILD_DIR] [RUNS]
set -euo pipefail
BUILD=${1:-build}
RUNS=${2:-41}
for f in "$BUILD/bench/startwatch" "$BUILD/bench/start_floor" "$BUILD/Lexilark/lexilark"; do
  [ -x "$f" ] || { echo "$f is missing; build the targets startwatch, start_floor and program_folder" >&2; exit 2; }
done
. "$(dirname "$0")/private_display.sh"
copy_program_folder "$BUILD"
# A few starts first, so that every file is in the page cache for both;
# then the two take turns, so that a busy machine weighs on both alike.
"$BUILD/bench/startwatch" 3 "$DIR/Lexilark/lexilark" >/dev/null
"$BUILD/bench/startwatch" 3 "$BUILD/bench/start_floor" >/dev/null
for _ in $(seq "$RUNS"); do
  "$BUILD/bench/startwatch" 1 "$DIR/Lexilark/lexilark" | sed -n 1p >>"$DIR/program.ms"
  "$BUILD/bench/startwatch" 1 "$BUILD/bench/start_floor" | sed -n 1p >>"$DIR/floor.ms"
done
# median FILE COLUMN: the median of a column of startwatch's lines (1: the
# time until the window was mapped, 2: the main thread's time on a processor).
median() { awk -v c="$2" '{ print $c }' "$1" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
program=$(median "$DIR/program.ms" 1)
floor=$(median "$DIR/floor.ms" 1)
echo "program: $program ms, least Qt program: $floor ms (median of $RUNS starts each)"
awk -v p="$program" -v f="$floor" 'BEGIN { printf "ratio %.2f\n", p / f }'
echo "of which on a processor: program $(median "$DIR/program.ms" 2) ms, least Qt program $(median "$DIR/floor.ms" 2) ms (load $(cut -d' ' -f1-3 /proc/loadavg))"
