#!/usr/bin/env bash
# Screenshots of the study window as a learner meets it under a window
# manager (openbox) on 1280x800, 800x600 and 640x480 screens: for each size
#   SIZE-answer.png   a long word answered wrongly with a long answer, the
#                     whole entry revealed and the answer marked;
#   SIZE-help.png     the help guide open over the study window (F1);
#   SIZE-message.png  the group-end message over the full-screen (F5)
#                     study window.
# Needs a build with the tests (lexilark_probe, the program with the state
# probe, runs in a copy of the program folder) and the program folder laid
# out: cmake --build build --target lexilark_probe lxtool program_folder
#
#   scripts/screenshots.sh [BUILD_DIR] [OUT_DIR] [SIZE...]
#
# Not part of the test suite: its pictures are for looking at.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd) || exit 1
OUT=${2:-$BUILD/screenshots}
shift $(($# < 2 ? $# : 2))
SIZES=("$@")
[ ${#SIZES[@]} -gt 0 ] || SIZES=(1280x800 800x600 640x480)
PROGRAM_FOLDER=$BUILD/Lexilark
LXTOOL=$BUILD/lxtool
PROBE_PROGRAM=$BUILD/tests/lexilark_probe

. "$ROOT/tests/e2e/session.sh"

for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps.sh installs it)"
done
[ -d "$PROGRAM_FOLDER" ] && [ -x "$LXTOOL" ] && [ -x "$PROBE_PROGRAM" ] ||
  fail "build lexilark_probe, lxtool and program_folder in $BUILD first"
mkdir -p "$OUT" || fail "cannot make $OUT"
OUT=$(cd "$OUT" && pwd)

T=$(mktemp -d "${TMPDIR:-/tmp}/lexilark-shots.XXXXXX") || fail "no temporary folder"
XVFB_PID="" WM_PID="" PROG_PID=""
trap 'stop_session; rm -rf "$T"' EXIT

# A library of two long entries in one group, so that promoting both ends
# the group with a message.
cat >"$T/words.txt" <<'EOF'
申し訳ありません
  [寒暄] 非常抱歉；实在对不起（比“すみません”郑重的道歉，用于向长辈、上司或客人赔礼）
お待たせしました
  [寒暄] 让您久等了
EOF

# shot NAME: the whole screen into OUT/SIZE-NAME.png, once the program has
# drawn what the last key asked for.
shot() {
  sleep 1
  import -window root "$OUT/$SIZE-$1.png" || fail "import could not take $SIZE-$1.png"
  echo "$OUT/$SIZE-$1.png"
}

# screens SIZE: one run of the program on a fresh screen of SIZE.
screens() {
  SIZE=$1
  start_xvfb "$SIZE"
  start_openbox

  rm -rf "$T/prog" && cp -r "$PROGRAM_FOLDER" "$T/prog" || fail "cannot copy $PROGRAM_FOLDER"
  cp "$PROBE_PROGRAM" "$T/prog/lexilark" || fail "cannot copy $PROBE_PROGRAM"
  rm -rf "$T/prog/users" "$T/prog/backups" && mkdir -p "$T/prog/users/user0"
  "$LXTOOL" import "$T/words.txt" "$T/prog/users/user0/long.lx" --utf8 --editor shots --date 2026-12-11 >/dev/null ||
    fail "lxtool import failed"
  sed 's#<lastwordlib0>[^<]*</lastwordlib0>#<lastwordlib0>long.lx</lastwordlib0>#' \
    "$ROOT/data/preset/init.txt" >"$T/init.txt"
  "$LXTOOL" encode "$T/init.txt" "$T/prog/init.ini" --utf8 || fail "lxtool encode failed"

  coproc PROG { cd "$T/prog" && exec env QT_QPA_PLATFORM=xcb LEXILARK_STATE_PROBE=1 ./lexilark 2>"$T/program.log"; }
  begin_studying

  # The reading typed for the word: wrong, and longer than a dozen
  # characters' room would hold whole.
  xdotool type --delay 40 "もうしわけありませんでした"
  xdotool key Return
  await "the answer judged" commentVisible=1
  shot answer

  xdotool key F1
  await "the help guide" active=formHelp
  shot help
  local deadline=$((SECONDS + 30))
  until probe && [ "${S[active]-}" != formHelp ]; do
    [ $SECONDS -lt $deadline ] || fail "Esc did not close the help guide"
    xdotool key Escape
    sleep 0.5
  done

  xdotool key space F5
  local tries=0
  await "the study window" focus=EditInput
  until probe && [ -n "${S[message]}" ]; do
    [ $tries -lt 6 ] || fail "promoting the group's words brought no message"
    xdotool key bracketright
    tries=$((tries + 1))
    sleep 0.5
  done
  shot message
  xdotool key Return
  stop_session
}

for size in "${SIZES[@]}"; do screens "$size"; done
