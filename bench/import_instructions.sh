#!/usr/bin/env bash
# Instructions per word of `lxtool import` on a generated list of 10000
# words (UTF-8, the encoding detected as the import page does), beyond the
# cost of importing a one-word list, as counted by callgrind.
# Usage: bench/import_instructions.sh path/to/lxtool
set -euo pipefail
LXTOOL=${1:?usage: $0 path/to/lxtool}
source "$(dirname "$0")/callgrind_common.sh"
WORDS=10000
# Kana words with a number, each with a meaning line in Chinese that starts
# with a part-of-speech mark, as learners' lists look (short enough for
# 10000 of them to fit one library).
make_list() {
  awk -v n="$1" 'BEGIN {
    split("あ か さ た な は ま や ら わ", kana, " ")
    for (i = 1; i <= n; i++) {
      printf "%s%s%d\n", kana[i % 10 + 1], kana[int(i / 10) % 10 + 1], i
      printf "  [名] 词语%d\n", i
    }
  }' >"$2"
}
count() {
  make_list "$2" "$DIR/$1.txt"
  local n
  n=$(instructions "$1" "$LXTOOL" import "$DIR/$1.txt" "$DIR/$1.lx" --editor bench --date 2026-01-01)
  grep -q "imported $2 words" "$DIR/$1.out" || { echo "import of $1 failed:" >&2; cat "$DIR/$1.err" >&2; exit 1; }
  echo "$n"
}
large=$(count large "$WORDS")
one=$(count one 1)
echo "$WORDS words: $large instructions, one word: $one instructions"
awk -v a="$large" -v b="$one" -v n="$WORDS" 'BEGIN { printf "%.0f instructions per word\n", (a - b) / n }'
