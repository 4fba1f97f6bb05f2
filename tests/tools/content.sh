#!/usr/bin/env bash
# lxtool content, end to end: the import texts and merged data lists it
# writes become a library and lists the program reads; a faulty source is
# refused with its file and line, and nothing is written.
set -u
LXTOOL=$1
. "$(dirname "$0")/support/checks.bash"

mkdir -p "$DIR/src" "$DIR/lists"
printf '# 名词\n水\tみず\t[名] 水\t水を飲みます。\t喝水。\n猫\tねこ\t[名] 猫\t猫が好きです。\t喜欢猫。\n' >"$DIR/src/一级.tsv"
printf '猫\tねこ\t[名] 猫\t猫がいます。\t有猫。\n犬\tいぬ\t[名] 狗\n' >"$DIR/src/二级.tsv"
printf '\n山\tやま\n' >"$DIR/lists/lx2.txt"
printf '\n山に登りました。\t爬了山。\n' >"$DIR/lists/lx3.txt"
printf '\n山\t1\n' >"$DIR/lists/lx4.txt"

"$LXTOOL" content "$DIR/built" --lists "$DIR/lists" "$DIR/src/一级.tsv" "$DIR/src/二级.tsv" >"$DIR/stdout" 2>"$DIR/err" ||
  fail "content: $(cat "$DIR/err")"
grep -qx '一级: 2 words, 2 sentences' "$DIR/stdout" || fail "no count of words: $(cat "$DIR/stdout")"
printf '\n山\tやま\n水\tみず\n猫\tねこ\n犬\tいぬ\n' >"$DIR/expected"
cmp -s "$DIR/expected" "$DIR/built/lx2.txt" || fail "lx2: $(cat "$DIR/built/lx2.txt")"
printf '\n山\t1\n水\t2\n猫\t3\t4\n' >"$DIR/expected"
cmp -s "$DIR/expected" "$DIR/built/lx4.txt" || fail "lx4: $(cat "$DIR/built/lx4.txt")"

# The outputs go on through import and encode as the build does.
"$LXTOOL" import "$DIR/built/二级.txt" "$DIR/二级.lx" --utf8 --editor e --date d >/dev/null || fail "import"
"$LXTOOL" export "$DIR/二级.lx" >"$DIR/words"
printf '猫\t[名] 猫\t0\t0\n犬\t[名] 狗\t0\t0\n' >"$DIR/expected"
cmp -s "$DIR/expected" "$DIR/words" || fail "library words: $(cat "$DIR/words")"
"$LXTOOL" encode "$DIR/built/lx3.txt" "$DIR/lx3.en" --utf8 || fail "encode lx3"
"$LXTOOL" decode "$DIR/lx3.en" | iconv -f GBK -t UTF-8 | sed -n 5p | grep -qx $'猫がいます。\t有猫。' ||
  fail "lx3 line 4 is not the second library's sentence"

# A fault: the file and line, and the earlier outputs stay as they were.
cp "$DIR/built/lx2.txt" "$DIR/lx2.before"
printf '\n\n花\t\t[名] 花\n' >"$DIR/src/坏.tsv"
expect_refusal "kanji without reading" "坏.tsv line 3: the word holds a kanji but has no reading" \
  "$LXTOOL" content "$DIR/built" --lists "$DIR/lists" "$DIR/src/一级.tsv" "$DIR/src/坏.tsv"
cmp -s "$DIR/lx2.before" "$DIR/built/lx2.txt" || fail "a refused run changed lx2"
[ -e "$DIR/built/坏.txt" ] && fail "a refused run wrote an import text"
printf '水\tみず\t[名] 水\n' >"$DIR/src/冲突.tsv"
printf '水\tすい\t[名] 水\n' >"$DIR/src/冲突2.tsv"
expect_refusal "conflicting readings" '冲突2.tsv line 1: the reading "すい" of "水" differs from "みず" on 冲突.tsv line 1' \
  "$LXTOOL" content "$DIR/built" "$DIR/src/冲突.tsv" "$DIR/src/冲突2.tsv"
expect_refusal "missing source" "cannot read" "$LXTOOL" content "$DIR/built" "$DIR/src/none.tsv"
expect_refusal "no output folder" "usage" "$LXTOOL" content
finish "lxtool content"
