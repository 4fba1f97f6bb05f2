#!/usr/bin/env bash
# lxtool gbk: UTF-8 text to plain GBK with CR LF line breaks, its refusals,
# and the help topics shipped in data/help/start.txt: every listed topic has
# a section with pages, and the topics the windows open by name are there.
set -u
LXTOOL=$1
. "$(dirname "$0")/support/checks.bash"

# A BOM is dropped, LF and CR LF both become CR LF, GBK bytes come out.
printf '\xef\xbb\xbf\xe6\xbe\x9c\xe6\x82\xa6\na\r\n\xe3\x81\x8b' >"$DIR/in.txt"
"$LXTOOL" gbk "$DIR/in.txt" "$DIR/out.ini" || fail "gbk converts"
[ "$(hex "$DIR/out.ini")" = "c0bdd4c30d0a610d0aa4ab" ] || fail "gbk bytes: $(hex "$DIR/out.ini")"
# Run again over an existing file, it is replaced.
printf 'b' >"$DIR/in.txt"
"$LXTOOL" gbk "$DIR/in.txt" "$DIR/out.ini" || fail "gbk over an existing file"
[ "$(hex "$DIR/out.ini")" = "62" ] || fail "existing file not replaced: $(hex "$DIR/out.ini")"

# Refusals leave the old file as it was.
printf 'ok\n\xf0\x9f\x98\x80\n' >"$DIR/emoji.txt"
expect_refusal "character GBK cannot hold" "line 2" "$LXTOOL" gbk "$DIR/emoji.txt" "$DIR/out.ini"
printf 'a\nb\0c' >"$DIR/nul.txt"
expect_refusal "NUL byte" "NUL byte (line 2)" "$LXTOOL" gbk "$DIR/nul.txt" "$DIR/out.ini"
[ "$(hex "$DIR/out.ini")" = "62" ] || fail "a refusal changed the old file"
expect_refusal "missing input" "cannot read" "$LXTOOL" gbk "$DIR/none.txt" "$DIR/x.ini"
expect_refusal "unwritable output" "文件打不开" "$LXTOOL" gbk "$DIR/in.txt" "$DIR/no/such/x.ini"
expect_refusal "unknown option" "unknown option" "$LXTOOL" gbk "$DIR/in.txt" "$DIR/x.ini" --utf8
expect_refusal "one file" "usage" "$LXTOOL" gbk "$DIR/in.txt"
[ -e "$DIR/x.ini" ] && fail "a refused run left a file"

# The shipped help topics convert, and come back unchanged.
SOURCE="$(dirname "$0")/../../data/help/start.txt"
"$LXTOOL" gbk "$SOURCE" "$DIR/start.ini" || fail "shipped help does not convert"
iconv -f GBK -t UTF-8 "$DIR/start.ini" | tr -d '\r' >"$DIR/back.txt"
tr -d '\r' <"$SOURCE" | cmp -s - "$DIR/back.txt" || fail "shipped help does not come back from GBK"

# Every listed topic has a section holding at least one page.
list=$(sed -n '/<helplist>/,/<\/helplist>/p' "$SOURCE" | sed -n 's/.*<item>\(.*\)<\/item>.*/\1/p')
[ -n "$list" ] || fail "no topics listed"
while IFS= read -r topic; do
  section=$(sed -n "/<$topic>/,/<\/$topic>/p" "$SOURCE")
  [ -n "$section" ] || { fail "topic '$topic' has no section"; continue; }
  grep -q '<step>' <<<"$section" || fail "topic '$topic' has no page"
  [ "$(grep -o '<step>' <<<"$section" | wc -l)" = "$(grep -o '</step>' <<<"$section" | wc -l)" ] ||
    fail "topic '$topic' has an unclosed page"
done <<<"$list"
for named in 关于帮助向导 单词分组 导入词库 背单词过程演示; do
  grep -qx "$named" <<<"$list" || fail "topic '$named' is not listed"
done
[ "$(head -n1 <<<"$list")" = "关于帮助向导" ] || fail "the guide's own topic is not listed first"

finish "gbk and help"
