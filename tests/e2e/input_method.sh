#!/usr/bin/env bash
# Answers typed through a real Japanese input method (fcitx5 with anthy),
# end to end: a private X server, session bus and input method, the real
# program on a copy of its program folder, romaji typed as key events.
# What the program shows is read through its state probe
# (tests/e2e/stateprobe.h), linked into the tests' own build of the program.
#
#   input_method.sh PROGRAM_FOLDER PRESET_INIT_TXT LXTOOL PROBE_PROGRAM
#
# PROBE_PROGRAM (lexilark_probe) is the program with the state probe; it
# runs in a copy of PROGRAM_FOLDER in place of the plain program.
#
# Every process it starts is ended by its process id when it ends. A part
# of the environment that cannot start fails the test with the reason.
set -uo pipefail

PROGRAM_FOLDER=$1
PRESET=$2
LXTOOL=$3
PROBE_PROGRAM=$4

. "$(dirname "$0")/session.sh"

need_tools Xvfb dbus-launch dbus-send fcitx5 fcitx5-remote xdotool

T=$(mktemp -d "${TMPDIR:-/tmp}/lexilark-ime.XXXXXX") || fail "no temporary folder"
XVFB_PID="" DBUS_SESSION_BUS_PID="" FCITX_PID="" PROG_PID=""
# The program and the X server, then the input method and its bus.
cleanup() {
  local pid
  stop_session
  for pid in "$FCITX_PID" "$DBUS_SESSION_BUS_PID"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
  [ -n "$FCITX_PID" ] && wait "$FCITX_PID" 2>/dev/null
  rm -rf "$T"
}
trap cleanup EXIT

start_xvfb

# A private home holding the input method's profile: the US keyboard and
# anthy in the one group.
export HOME="$T/home" XDG_CONFIG_HOME="$T/home/.config" XDG_DATA_HOME="$T/home/.local/share"
export XDG_CACHE_HOME="$T/home/.cache" XDG_RUNTIME_DIR="$T/runtime"
mkdir -p "$XDG_CONFIG_HOME/fcitx5" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cat >"$XDG_CONFIG_HOME/fcitx5/profile" <<'EOF'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=anthy

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=anthy
Layout=

[GroupOrder]
0=Default
EOF

eval "$(dbus-launch --sh-syntax)" || fail "dbus-launch could not start a session bus"
[ -n "${DBUS_SESSION_BUS_PID:-}" ] || fail "dbus-launch gave no bus"

fcitx5 --disable=wayland,waylandim,kimpanel,notificationitem >"$T/fcitx5.log" 2>&1 &
FCITX_PID=$!
fcitx_on_the_bus() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 | grep -q 'boolean true'
}
await_start fcitx5 "$FCITX_PID" fcitx_on_the_bus

# The program on a copy of its folder, with a library of its own: a word
# the input method converts (水, 山), a two-part word, and a kana word.
cp -r "$PROGRAM_FOLDER" "$T/prog" || fail "cannot copy $PROGRAM_FOLDER"
cp "$PROBE_PROGRAM" "$T/prog/lexilark" || fail "cannot copy $PROBE_PROGRAM"
rm -rf "$T/prog/users" && mkdir -p "$T/prog/users/user0"
cat >"$T/words.txt" <<'EOF'
水
  [名] 水
山
  [名] 山
おはよう ございます
  [寒暄] 早上好
かわ
  [名] 河
EOF
"$LXTOOL" import "$T/words.txt" "$T/prog/users/user0/ime.lx" --utf8 --editor test --date 2026-12-10 \
  >/dev/null || fail "lxtool import failed"

# start_program LIBRARY: the program, logged in to LIBRARY of the
# administrator, answering the probe on the coprocess PROG.
start_program() {
  sed "s#<lastwordlib0>[^<]*</lastwordlib0>#<lastwordlib0>$1</lastwordlib0>#" "$PRESET" >"$T/init.txt"
  "$LXTOOL" encode "$T/init.txt" "$T/prog/init.ini" --utf8 || fail "lxtool encode failed"
  coproc PROG {
    cd "$T/prog" && exec env QT_QPA_PLATFORM=xcb QT_IM_MODULE=fcitx LEXILARK_STATE_PROBE=1 \
      ./lexilark 2>>"$T/program.log"
  }
  PROG_PID=$PROG_PID
}
stop_program() {
  kill "$PROG_PID" 2>/dev/null
  wait "$PROG_PID" 2>/dev/null
  PROG_PID=""
}
start_program ime.lx

# input_method NAME: waits until NAME is the active input method.
input_method() {
  for _ in $(seq 100); do
    [ "$(fcitx5-remote -n)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "the active input method is \"$(fcitx5-remote -n)\", not $1"
}
switch_on() {
  for _ in $(seq 100); do
    fcitx5-remote -o
    [ "$(fcitx5-remote -n)" = anthy ] && return 0
    sleep 0.1
  done
  fail "anthy could not be switched on (fcitx5-remote -n says \"$(fcitx5-remote -n)\")"
}

# await_other WORD: waits until a word other than WORD is shown.
await_other() {
  local deadline=$((SECONDS + 30))
  while [ $SECONDS -lt $deadline ]; do
    probe
    [ "${S[word]}" != "$1" ] && return 0
    sleep 0.02
  done
  fail "still on $1"
}

# Keys as the learner types them; each waits a little between keys as a
# person does, so that the input method keeps up. A message box is modal
# as soon as it is shown, but has the keyboard only a moment later: keys
# meant for it wait until it is the active window (active=QMessageBox), and
# keys meant for the study window until that is active again.
keys() { xdotool key --delay 80 "$@"; }
romaji() { xdotool type --delay 80 "$1"; }

# start_studying FIRST_WORD: "开始背单词" on the start window.
start_studying() {
  await "the start window" message=
  ask "where suiButton1"
  [ "$REPLY_LINE" != none ] || fail "no 开始背单词 button"
  xdotool mousemove $REPLY_LINE click 1
  await "studying the first word" word="$1" focus=EditInput answer=
}
start_studying 水

# fcitx5 loads anthy a little after it is on the bus: ask until it is on.
switch_on

# "mizu", Space converts, Enter commits, Enter checks, Space moves on (the
# input method types a full-width space for it, which must not stay).
romaji mizu
await "composing みず" composing=1 answer= word=水
keys space Return
await "水 committed" composing=0 answer=水
keys Return
await "水 judged right" comment="正 确" commentVisible=1 word=水
await "the right answer's display ended" comment=Next
keys space
await "Space after the answer moves on" word=山 answer= composing=0

# The next word answered the same way is right too; Space during "正 确"
# moves on as well.
romaji yama
keys space Return
await "山 committed" answer=山
keys Return
await "山 judged right" comment="正 确" commentVisible=1
keys space
await "on to the two-part word" word="おはよう ございます" answer=

# A two-part word: Space between the parts keeps one plain space.
romaji ohayou
keys Return
await "おはよう committed" answer=おはよう
keys space
await "the inner space typed" answer="おはよう " word="おはよう ございます" commentVisible=0
romaji gozaimasu
keys Return
await "the second part committed" answer="おはよう ございます"
keys Return
await "the two-part word judged right" comment="正 确" commentVisible=1
keys space
await "on to かわ" word=かわ answer=

# The candidate list and Escape back to kana stay with the word; Backspace
# takes the composition apart.
romaji kawa
keys space space Down Down
await "choosing a candidate" composing=1 word=かわ answer=
keys Escape
await "back to kana" composing=1 word=かわ answer=
keys BackSpace BackSpace
await "the composition taken apart" composing=0 word=かわ answer=

# The focus keeper (every two seconds) leaves a composition alone.
romaji ka
await "composing か" composing=1
sleep 2.5
romaji wa
keys Return
await "かわ committed after the focus keeper ran" answer=かわ composing=0 word=かわ

# Ctrl+Space switches the input method off and on and keeps the answer;
# Ctrl alone prompts.
keys ctrl+space
input_method keyboard-us
await "Ctrl+Space keeps the answer" answer=かわ wordShown=0 word=かわ
keys ctrl+space
input_method anthy
await "Ctrl+Space back on keeps the answer" answer=かわ wordShown=0
keys ctrl
await "Ctrl alone prompts" answer= wordShown=1 word=かわ

# The last word of the group: right, then Space past it and Space on the
# empty box ends the group and the cycle.
romaji kawa
keys Return Return
await "かわ judged right" comment="正 确" commentVisible=1
keys space
await "past the last word" answer=
keys space
await "the group's message" message="祝贺你!完成第1循环第1分组" active=QMessageBox
keys Return
await "the cycle's message" message="祝贺你!完成本次循环！现在进入第2循环" active=QMessageBox
keys Return
await "studying again" message= answer= focus=EditInput active=TformMain

# Keypad 2 ("后一个") on the last word (input method off: anthy types the
# keypad's digits): the cycle's message takes the key's release, and its
# "2" must not stay for the next answer. Each Down is seen to move on before
# the next: the last word is reached for certain.
fcitx5-remote -c
input_method keyboard-us
for _ in 1 2 3; do
  probe
  word=${S[word]}
  keys Down
  await_other "$word"
done
keys KP_2
await "the cycle's message after keypad 2" message="祝贺你!完成本次循环！现在进入第3循环" active=QMessageBox
keys Return
await "keypad 2 left nothing behind" message= answer= focus=EditInput active=TformMain
probe
switch_on
case ${S[word]} in
  水) romaji mizu; keys space Return ;;
  山) romaji yama; keys space Return ;;
  かわ) romaji kawa; keys Return ;;
  "おはよう ございます") romaji ohayou; keys Return space; romaji gozaimasu; keys Return ;;
  *) fail "unexpected word ${S[word]}" ;;
esac
await "the answer typed after keypad 2" answer="${S[word]}"
keys Return
await "judged right after keypad 2" comment="正 确" commentVisible=1

# A quick learner: each answer is typed at once after the previous one moved
# on (the previous right answer's display still running), with a moment of
# thought or none before judging it; judged with Space, or with Enter then
# Space, in turns. Every right answer must be judged right, none passed
# over unjudged.
stop_program
cat >"$T/quick.txt" <<'EOF2'
水
  [名] 水
ねこ
  [名] 猫
山
  [名] 山
いぬ
  [名] 狗
さかな
  [名] 鱼
とり
  [名] 鸟
そら
  [名] 天空
うみ
  [名] 海
はな
  [名] 花
くるま
  [名] 车
あめ
  [名] 雨
ゆき
  [名] 雪
EOF2
"$LXTOOL" import "$T/quick.txt" "$T/prog/users/user0/quick.lx" --utf8 --editor test --date 2026-12-10 \
  >/dev/null || fail "lxtool import failed"
declare -A ROMAJI=([水]=mizu [ねこ]=neko [山]=yama [いぬ]=inu [さかな]=sakana [とり]=tori [そら]=sora
  [うみ]=umi [はな]=hana [くるま]=kuruma [あめ]=ame [ゆき]=yuki)
start_program quick.lx
start_studying 水
switch_on

judged=0
thinking=(0 0.4 0.8)
for n in $(seq 0 11); do
  probe
  word=${S[word]}
  [ -n "${ROMAJI[$word]-}" ] || fail "unexpected word \"$word\" after $judged answers"
  romaji "${ROMAJI[$word]}"
  case $word in
    水 | 山) keys space Return ;;  # converted, then committed
    *) keys Return ;;              # committed as kana
  esac
  await "$word committed" answer="$word" composing=0 word="$word"
  sleep "${thinking[$((n % 3))]}"
  if [ $((n % 2)) = 0 ]; then
    keys space
  else
    keys Return
  fi
  await "$word judged right (answer $((n + 1)))" comment="正 确" commentVisible=1 word="$word"
  judged=$((judged + 1))
  keys space
  if [ "$n" -lt 11 ]; then
    await_other "$word"
  else
    await "past the last word" answer= commentVisible=0
  fi
done
[ $judged = 12 ] || fail "$judged of 12 quick answers judged"

# With the input method off, Latin letters typed for a Japanese word: judged
# wrong as usual, with the hint to switch the input method on, once.
keys space
await "the group's message after the quick answers" message="祝贺你!完成第1循环第1分组" active=QMessageBox
keys Return
await "the cycle's message after the quick answers" message="祝贺你!完成本次循环！现在进入第2循环" \
  active=QMessageBox
keys Return
await "studying the next cycle" message= answer= focus=EditInput active=TformMain
fcitx5-remote -c
input_method keyboard-us
probe
word=${S[word]}
romaji abc
keys Return
hint='输入法未开启？按 Ctrl+空格 切换到日语输入法'
await "Latin letters judged wrong, with the hint" comment="错 误" commentVisible=1 word="$word" \
  marks="你的答案：abc$word\\n$hint\\n改正后按回车或空格再检查，按 ↓ 跳到下一个词"
keys BackSpace Return
await "the hint given once" comment="错 误" commentVisible=1 word="$word" marks="你的答案：ab$word"

echo "PASS: answers typed through fcitx5 with anthy"
