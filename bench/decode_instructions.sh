#!/usr/bin/env bash
# Instructions per byte of a cold `lxtool decode` of the largest readable
# file (599998 bytes), beyond the cost of decoding an empty file, as counted
# by callgrind. Usage: bench/decode_instructions.sh path/to/lxtool
set -euo pipefail
LXTOOL=${1:?usage: $0 path/to/lxtool}
source "$(dirname "$0")/callgrind_common.sh"
SIZE=599998
head -c "$SIZE" /dev/urandom | tr '\0' 'x' >"$DIR/large.txt"
: >"$DIR/empty.txt"
count() {
  "$LXTOOL" encode "$DIR/$1.txt" "$DIR/$1.lx"
  local n
  n=$(instructions "$1" "$LXTOOL" decode "$DIR/$1.lx")
  cmp -s "$DIR/$1.txt" "$DIR/$1.out" || { echo "decode of $1 gave other bytes" >&2; exit 1; }
  echo "$n"
}
large=$(count large)
empty=$(count empty)
echo "large file: $large instructions, empty file: $empty instructions"
awk -v a="$large" -v b="$empty" -v n="$SIZE" 'BEGIN { printf "%.1f instructions per byte\n", (a - b) / n }'
