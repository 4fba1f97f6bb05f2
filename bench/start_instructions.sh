#!/usr/bin/env bash
# Instructions run from the start until the first window is mapped (the
# first xcb_map_window call), counted by callgrind on a private Xvfb: the
# program on a copy of its program folder, and the least Qt Widgets program.
# Unlike wall time, the counts do not depend on the machine's load.
# Usage: bench/start_instructions.sh [BUILD_DIR]
set -euo pipefail
BUILD=${1:-build}
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 2; }
for f in "$BUILD/bench/start_floor" "$BUILD/Lexilark/lexilark"; do
  [ -x "$f" ] || { echo "$f is missing; build the targets start_floor and program_folder" >&2; exit 2; }
done
. "$(dirname "$0")/private_display.sh"
copy_program_folder "$BUILD"

# until_mapped NAME COMMAND...: the instructions of COMMAND up to its first
# window mapped; the program is ended once callgrind has written them.
until_mapped() {
  local name=$1 part="$DIR/$1.cg.1"
  shift
  valgrind --tool=callgrind --dump-before=xcb_map_window --callgrind-out-file="$DIR/$name.cg" "$@" \
    >"$DIR/$name.out" 2>"$DIR/$name.err" &
  local pid=$!
  for _ in $(seq 1200); do
    grep -qs '^totals:' "$part" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  sed -n 's/^totals: *//p' "$part" | grep . || { echo "$name showed no window; see its messages:" >&2; cat "$DIR/$name.err" >&2; exit 1; }
}

program=$(until_mapped program "$DIR/Lexilark/lexilark")
floor=$(until_mapped floor "$BUILD/bench/start_floor")
echo "program: $program instructions, least Qt program: $floor instructions until the first window is mapped"
awk -v p="$program" -v f="$floor" 'BEGIN { printf "ratio %.2f\n", p / f }'
