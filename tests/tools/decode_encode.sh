#!/usr/bin/env bash
# lxtool encode and decode, end to end: round trips, the scrambled form of a
# known text, and the refusals (NUL bytes, text GBK cannot hold, sizes the
# program cannot read, files that cannot be opened or written).
set -u
LXTOOL=$1
. "$(dirname "$0")/support/checks.bash"

# The first key bytes after the seed are e8 f2 e9 c5 04 19 f4 f5.
printf 'Lexilark' >"$DIR/known.txt"
"$LXTOOL" encode "$DIR/known.txt" "$DIR/known.lx" || fail "encode known text"
[ "$(hex "$DIR/known.lx")" = "a49791ac6878869e" ] || fail "scrambled form of 'Lexilark': $(hex "$DIR/known.lx")"

# Round trips: GBK bytes of every kind (no NUL), and the empty file.
printf '<name>\xc0\xbd\xd4\xc3</name>\n\x01\xff\xfe\x80\x7f\r\n \t' >"$DIR/gbk.txt"
: >"$DIR/empty.txt"
for f in gbk empty; do
  "$LXTOOL" encode "$DIR/$f.txt" "$DIR/$f.lx" || fail "encode $f"
  "$LXTOOL" decode "$DIR/$f.lx" >"$DIR/$f.back" || fail "decode $f"
  cmp -s "$DIR/$f.txt" "$DIR/$f.back" || fail "$f does not round-trip"
  od -An -v -tx1 "$DIR/$f.lx" | grep -qw 00 && fail "$f scrambled holds a NUL byte"
done
[ -s "$DIR/empty.lx" ] && fail "empty text scrambled to something"

# --utf8 converts to GBK (a BOM is dropped) before scrambling.
printf '\xef\xbb\xbf\xe6\xbe\x9c\xe6\x82\xa6 \xe3\x81\x8b\xe3\x81\xaa\n' >"$DIR/utf8.txt"
"$LXTOOL" encode "$DIR/utf8.txt" "$DIR/utf8.lx" --utf8 || fail "encode --utf8"
"$LXTOOL" decode "$DIR/utf8.lx" >"$DIR/utf8.back" || fail "decode utf8"
[ "$(hex "$DIR/utf8.back")" = "c0bdd4c320a4aba4ca0a" ] || fail "utf8 text as GBK: $(hex "$DIR/utf8.back")"

# Largest readable size decodes; one byte more is refused with the program's message.
head -c 599998 /dev/zero | tr '\0' 'a' >"$DIR/max.txt"
"$LXTOOL" encode "$DIR/max.txt" "$DIR/max.lx" || fail "encode 599998 bytes"
"$LXTOOL" decode "$DIR/max.lx" >"$DIR/max.back" || fail "decode 599998 bytes"
cmp -s "$DIR/max.txt" "$DIR/max.back" || fail "599998 bytes do not round-trip"
cp "$DIR/max.lx" "$DIR/big.lx"; printf 'x' >>"$DIR/big.lx"
expect_refusal "decode 599999 bytes" "词库过大，无法加载！请与作者联系！" "$LXTOOL" decode "$DIR/big.lx"
printf 'a' >>"$DIR/max.txt"
expect_refusal "encode 599999 bytes" "too large" "$LXTOOL" encode "$DIR/max.txt" "$DIR/toobig.lx"
[ -e "$DIR/toobig.lx" ] && fail "too large input still written"

# Refusals leave no output file and keep an existing one as it was.
printf 'ab\ncd\0ef' >"$DIR/nul.txt"
expect_refusal "NUL byte" "NUL byte (line 2)" "$LXTOOL" encode "$DIR/nul.txt" "$DIR/nul.lx"
[ -e "$DIR/nul.lx" ] && fail "NUL input still written"
printf 'one\ntwo \xf0\x9f\x98\x80\n' >"$DIR/emoji.txt"
cp "$DIR/known.lx" "$DIR/keep.lx"
expect_refusal "no GBK form" "line 2" "$LXTOOL" encode "$DIR/emoji.txt" "$DIR/keep.lx" --utf8
cmp -s "$DIR/known.lx" "$DIR/keep.lx" || fail "refused encode changed the existing file"
expect_refusal "missing input" "cannot read" "$LXTOOL" encode "$DIR/none.txt" "$DIR/none.lx"
expect_refusal "unwritable output" "文件打不开" "$LXTOOL" encode "$DIR/known.txt" "$DIR/no/such/dir.lx"
expect_refusal "missing file" "cannot open" "$LXTOOL" decode "$DIR/none.lx"
expect_refusal "folder" "folder" "$LXTOOL" decode "$DIR"
expect_refusal "decode without file" "usage" "$LXTOOL" decode
expect_refusal "encode without output" "usage" "$LXTOOL" encode "$DIR/known.txt"
expect_refusal "unknown option" "unknown option" "$LXTOOL" encode "$DIR/known.txt" "$DIR/x.lx" --gbk

"$LXTOOL" --help >"$DIR/help" || fail "--help"
grep -q "decode FILE" "$DIR/help" && grep -q "encode IN OUT \[--utf8\]" "$DIR/help" || fail "--help lacks decode/encode"

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "all lxtool decode/encode checks passed"
