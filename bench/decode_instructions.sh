#!/usr/bin/env bash
# Instructions per byte of a cold `lxtool decode` of the largest readable
# file (599998 bytes), beyond the cost of decoding an empty file, as counted
# by callgrind. Usage: bench/decode_instructions.sh path/to/lxtool
set -euo pipefail
LXTOOL=${1:?usage: $0 path/to/lxtool}
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 2; }
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
SIZE=599998
head -c "$SIZE" /dev/urandom | tr '\0' 'x' >"$DIR/large.txt"
: >"$DIR/empty.txt"
count() {
  "$LXTOOL" encode "$DIR/$1.txt" "$DIR/$1.lx"
  valgrind --tool=callgrind --callgrind-out-file="$DIR/$1.cg" "$LXTOOL" decode "$DIR/$1.lx" \
    >"$DIR/$1.out" 2>"$DIR/$1.err"
  cmp -s "$DIR/$1.txt" "$DIR/$1.out" || { echo "decode of $1 gave other bytes" >&2; exit 1; }
  sed -n 's/.*refs: *\([0-9,]*\).*/\1/p' "$DIR/$1.err" | tr -d ,
}
large=$(count large)
empty=$(count empty)
echo "large file: $large instructions, empty file: $empty instructions"
awk -v a="$large" -v b="$empty" -v n="$SIZE" 'BEGIN { printf "%.1f instructions per byte\n", (a - b) / n }'
