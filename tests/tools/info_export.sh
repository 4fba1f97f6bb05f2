#!/usr/bin/env bash
# lxtool info and export, end to end: on a library written by hand in the
# file format, on one the program's import wrote, and their refusals.
set -u
LXTOOL=$1
DATA=$(cd "$(dirname "$0")/import_data" && pwd)
. "$(dirname "$0")/support/checks.bash"

# A library written by hand: CR LF line ends, the header tags in another
# order, no basegrade, an empty and a letter study count, a TAB in a meaning.
printf '%s\r\n' \
  '<groupindex>1</groupindex><editor>澜悦</editor><date>2026-01-02</date><version>2.0</version><lw>3</lw><groupcount>2</groupcount><lt>4</lt><tlt>55</tlt><tt>666</tt>' \
  '<e>水</e><t>3</t><c>みず [名] 水</c><g>0</g>' \
  '<e>山</e><t></t><c>やま	[名] 山</c><g>5</g>' >"$DIR/hand.txt"
printf '<e>花</e><t>x</t><c>はな</c><g>2</g>' >>"$DIR/hand.txt"
"$LXTOOL" encode "$DIR/hand.txt" "$DIR/手写.lx" --utf8 || fail "encode the hand-written library"

cat >"$DIR/hand.info" <<'END'
editor: 澜悦
date: 2026-01-02
version: 2.0
lw: 3
groupcount: 2
groupindex: 1
lt: 4
tlt: 55
tt: 666
basegrade: 0
words: 3
grade0: 1
grade1: 0
grade2: 1
grade3: 0
grade4: 0
grade5: 1
END
expect_output "info of a hand-written library" "$DIR/hand.info" "$LXTOOL" info "$DIR/手写.lx"
[ -s "$DIR/err" ] && fail "info of a sound library wrote to stderr: $(cat "$DIR/err")"

printf '%s\n' $'水\tみず [名] 水\t0\t3' $'山\tやま [名] 山\t5\t0' $'花\tはな\t2\t0' >"$DIR/hand.tsv"
expect_output "export of a hand-written library" "$DIR/hand.tsv" "$LXTOOL" export "$DIR/手写.lx"

# A library written by the program's import.
"$LXTOOL" import "$DATA/sample.txt" "$DIR/imported.lx" --utf8 --editor Lexilark --date 2026-12-10 --version 1.0 \
  >/dev/null 2>"$DIR/err" || fail "import: $(cat "$DIR/err")"
cat >"$DIR/imported.info" <<'END'
editor: Lexilark
date: 2026-12-10
version: 1.0
lw: 0
groupcount: 1
groupindex: 0
lt: 1
tlt: 0
tt: 0
basegrade: 0
words: 4
grade0: 4
grade1: 0
grade2: 0
grade3: 0
grade4: 0
grade5: 0
END
expect_output "info of an imported library" "$DIR/imported.info" "$LXTOOL" info "$DIR/imported.lx"
printf '%s\n' $'水\tみず [名] 水\t0\t0' $'山\tやま [名] 山\t0\t0' $'花\tはな [名] 花\t0\t0' $'\t[名] 空\t0\t0' \
  >"$DIR/imported.tsv"
expect_output "export of an imported library" "$DIR/imported.tsv" "$LXTOOL" export "$DIR/imported.lx"

# A library without words.
printf '<editor>e</editor><groupcount>1</groupcount>\n' >"$DIR/empty.txt"
"$LXTOOL" encode "$DIR/empty.txt" "$DIR/empty.lx" || fail "encode the empty library"
"$LXTOOL" info "$DIR/empty.lx" >"$DIR/out" 2>"$DIR/err" || fail "info of an empty library"
grep -qx "words: 0" "$DIR/out" || fail "empty library words: $(cat "$DIR/out")"
"$LXTOOL" export "$DIR/empty.lx" >"$DIR/out" 2>"$DIR/err" || fail "export of an empty library"
[ -s "$DIR/out" ] && fail "export of an empty library printed words"

# A group count the program only warns about: the values are still printed.
printf '<groupcount>250</groupcount>\n<e>a</e><t>0</t><c>b</c><g>0</g>' >"$DIR/groups.txt"
"$LXTOOL" encode "$DIR/groups.txt" "$DIR/groups.lx" || fail "encode groups"
"$LXTOOL" info "$DIR/groups.lx" >"$DIR/out" 2>"$DIR/err" || fail "info with a large group count"
grep -qx "groupcount: 250" "$DIR/out" || fail "group count 250 not printed: $(cat "$DIR/out")"
grep -q "分组数超过200或超过单词数！" "$DIR/err" || fail "group count warning missing: $(cat "$DIR/err")"

# Refusals.
printf '<lw>0</lw>\n<e>a</e><t>0</t><c>b</c><g>x</g>' >"$DIR/badgrade.txt"
"$LXTOOL" encode "$DIR/badgrade.txt" "$DIR/badgrade.lx" || fail "encode bad grade"
printf '<lw>0</lw>\n<e>a</e><t>0</t><c>b</c><g>9</g>' >"$DIR/highgrade.txt"
"$LXTOOL" encode "$DIR/highgrade.txt" "$DIR/highgrade.lx" || fail "encode high grade"
for cmd in info export; do
  expect_refusal "$cmd of a missing file" "文件打不开" "$LXTOOL" $cmd "$DIR/none.lx"
  expect_refusal "$cmd of a folder" "文件打不开" "$LXTOOL" $cmd "$DIR"
  expect_refusal "$cmd of a grade that is not a number" "的级别“x”不是整数" "$LXTOOL" $cmd "$DIR/badgrade.lx"
  expect_refusal "$cmd of a grade above 5" "不在0到5之间" "$LXTOOL" $cmd "$DIR/highgrade.lx"
  expect_refusal "$cmd without a file" "usage: lxtool $cmd FILE" "$LXTOOL" $cmd
  expect_refusal "$cmd with two files" "usage: lxtool $cmd FILE" "$LXTOOL" $cmd "$DIR/empty.lx" "$DIR/empty.lx"
done

finish "lxtool info and export"
