#!/usr/bin/env bash
# lxtool import, end to end: the library it writes is byte for byte the
# scrambled form of the expected library text (the same files the core
# import test checks), from UTF-8 and from GBK sources; and its refusals.
set -u
LXTOOL=$1
DATA=$(cd "$(dirname "$0")/import_data" && pwd)
. "$(dirname "$0")/support/checks.bash"

"$LXTOOL" encode "$DATA/expected.txt" "$DIR/expected.lx" --utf8 || fail "encode expected text"

# The command line the program folder build uses, with a Chinese file name.
cp "$DATA/sample.txt" "$DIR/词表.txt"
"$LXTOOL" import "$DIR/词表.txt" "$DIR/词库.lx" --utf8 --editor 澜悦 --date 2026-12-10 --version 1.0 \
  >"$DIR/out" 2>"$DIR/err" || fail "import --utf8: $(cat "$DIR/err")"
cmp -s "$DIR/expected.lx" "$DIR/词库.lx" || fail "import --utf8 differs from the expected library"
grep -q "imported 4 words" "$DIR/out" || fail "import does not report the word count: $(cat "$DIR/out")"
[ -s "$DIR/err" ] && fail "successful import wrote to stderr"

# A GBK source (the default) gives the same bytes; options may come first.
iconv -f UTF-8 -t GBK "$DATA/sample.txt" >"$DIR/gbk.txt" || fail "iconv"
"$LXTOOL" import --version 1.0 --date 2026-12-10 --editor 澜悦 "$DIR/gbk.txt" "$DIR/gbk.lx" >/dev/null ||
  fail "import GBK source"
cmp -s "$DIR/expected.lx" "$DIR/gbk.lx" || fail "import of GBK source differs from the expected library"

# A version is optional and may be empty.
printf 'a\n  1\n' >"$DIR/one.txt"
"$LXTOOL" import "$DIR/one.txt" "$DIR/one.lx" --editor e --date d >/dev/null || fail "import without --version"
"$LXTOOL" decode "$DIR/one.lx" | grep -q '<version></version><lw>0</lw>' || fail "missing version not empty"

# An existing target is never overwritten.
cp "$DIR/one.lx" "$DIR/keep.lx"
expect_refusal "existing target" "already exists" "$LXTOOL" import "$DIR/gbk.txt" "$DIR/one.lx" --editor e --date d
cmp -s "$DIR/keep.lx" "$DIR/one.lx" || fail "existing target changed"

# The importer's own message, in UTF-8, and nothing written.
printf 'a\n1\nb\n2\n' >"$DIR/bad.txt"
expect_refusal "format error" "下面的单词格式不正确，请修改后再导入！" \
  "$LXTOOL" import "$DIR/bad.txt" "$DIR/bad.lx" --editor e --date d
grep -q '位　　置：第3行' "$DIR/err" || fail "format error lacks the line: $(cat "$DIR/err")"
grep -q '解释位置："2"' "$DIR/err" || fail "format error lacks the explanation"
[ -e "$DIR/bad.lx" ] && fail "format error still wrote a file"

# Without --utf8 the encoding is detected: a UTF-8 list, with or without a
# byte order mark, gives the same library as its GBK form.
"$LXTOOL" import "$DATA/sample.txt" "$DIR/detected.lx" --editor 澜悦 --date 2026-12-10 --version 1.0 >/dev/null ||
  fail "import of a UTF-8 source without --utf8"
cmp -s "$DIR/expected.lx" "$DIR/detected.lx" || fail "detected UTF-8 source differs from the expected library"
printf '\xef\xbb\xbfa\n  1\n' >"$DIR/bom.txt"
"$LXTOOL" import "$DIR/bom.txt" "$DIR/bom.lx" --editor e --date d >/dev/null || fail "import of a marked UTF-8 text"
"$LXTOOL" export "$DIR/bom.lx" | grep -qx $'a\t1\t0\t0' || fail "byte order mark not dropped"
"$LXTOOL" import "$DIR/bom.txt" "$DIR/bom2.lx" --utf8 --editor e --date d >/dev/null || fail "marked text with --utf8"

# Blank lines at the end of a list add nothing.
printf 'a\n1\nb\n  2\n\n\n\n\n' >"$DIR/blank.txt"
"$LXTOOL" import "$DIR/blank.txt" "$DIR/blank.lx" --editor e --date d >"$DIR/out" || fail "trailing blank lines"
grep -q "imported 2 words" "$DIR/out" || fail "trailing blank lines: $(cat "$DIR/out")"

# Every character GBK cannot hold is named in one message, with its line
# (counted from 1, as editors count); a text that is neither UTF-8 nor GBK names its bad line;
# --utf8 refuses a GBK text.
printf 'a\n  1\nb\xf0\x9f\x98\x80\n  2\xf0\x9f\x98\x80\n' >"$DIR/emoji.txt"
for forced in "" --utf8; do
  expect_refusal "no GBK form $forced" "下面的字符在GBK编码中没有" \
    "$LXTOOL" import "$DIR/emoji.txt" "$DIR/emoji.lx" $forced --editor e --date d
  grep -q '第3行：“😀”（U+1F600），在“b😀”中' "$DIR/err" || fail "first missing character not named: $(cat "$DIR/err")"
  grep -q '第4行：“😀”（U+1F600），在“2😀”中' "$DIR/err" || fail "second missing character not named: $(cat "$DIR/err")"
  [ "$(grep -c '下面的字符' "$DIR/err")" -eq 1 ] || fail "missing characters not in one message"
done
[ -e "$DIR/emoji.lx" ] && fail "unconvertible source still wrote a file"
printf 'a\n  1\n\xff\n' >"$DIR/neither.txt"
expect_refusal "neither UTF-8 nor GBK" "既不是UTF-8编码，也不是GBK编码" \
  "$LXTOOL" import "$DIR/neither.txt" "$DIR/neither.lx" --editor e --date d
grep -q '位　　置：第3行' "$DIR/err" || fail "unreadable text lacks its line: $(cat "$DIR/err")"
expect_refusal "GBK with --utf8" "不是有效的UTF-8编码" \
  "$LXTOOL" import "$DIR/gbk.txt" "$DIR/forced.lx" --utf8 --editor e --date d
[ -e "$DIR/neither.lx" ] || [ -e "$DIR/forced.lx" ] && fail "an unreadable source wrote a file"

# The sample the program folder ships imports as it is.
"$LXTOOL" import "$(dirname "$0")/../../data/example.txt" "$DIR/example.lx" --editor e --date d >"$DIR/out" 2>"$DIR/err" ||
  fail "example.txt does not import: $(cat "$DIR/err")"
grep -q "imported [5-8] words" "$DIR/out" || fail "example.txt: $(cat "$DIR/out")"

expect_refusal "editor without GBK form" "--editor" \
  "$LXTOOL" import "$DIR/one.txt" "$DIR/x.lx" --editor "$(printf '\xf0\x9f\x98\x80')" --date d
expect_refusal "missing source" "cannot read" "$LXTOOL" import "$DIR/none.txt" "$DIR/x.lx" --editor e --date d
expect_refusal "folder as source" "cannot read" "$LXTOOL" import "$DIR" "$DIR/x.lx" --editor e --date d
expect_refusal "unwritable target" "文件打不开" "$LXTOOL" import "$DIR/one.txt" "$DIR/no/x.lx" --editor e --date d
expect_refusal "no editor" "--editor" "$LXTOOL" import "$DIR/one.txt" "$DIR/x.lx" --date d
expect_refusal "empty date" "--date" "$LXTOOL" import "$DIR/one.txt" "$DIR/x.lx" --editor e --date ""
expect_refusal "option without value" "--version needs a value" \
  "$LXTOOL" import "$DIR/one.txt" "$DIR/x.lx" --editor e --date d --version
expect_refusal "one file only" "usage" "$LXTOOL" import "$DIR/one.txt" --editor e --date d
expect_refusal "unknown option" "unknown option" "$LXTOOL" import "$DIR/one.txt" "$DIR/x.lx" --editor e --date d --gbk
[ -e "$DIR/x.lx" ] && fail "a refused import wrote x.lx"

# A library that would leave no room to grow below the largest readable
# file (599998 bytes) is refused with both sizes, though it would still fit.
awk 'BEGIN { m = sprintf("%112s", ""); gsub(/ /, "m", m); for (i = 0; i < 4000; i++) printf "w%04d\n  %s\n", i, m }' \
  >"$DIR/large.txt"
expect_refusal "no room to grow" "字节，学习中还要留出12130字节的余地" \
  "$LXTOOL" import "$DIR/large.txt" "$DIR/large.lx" --editor e --date d
grep -q '导入后的词库文件将有59[0-9]\{4\}字节' "$DIR/err" || fail "the refusal lacks the library size: $(cat "$DIR/err")"
[ -e "$DIR/large.lx" ] && fail "a library without room to grow was written"

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "all lxtool import checks passed"
