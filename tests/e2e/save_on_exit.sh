#!/usr/bin/env bash
# Progress survives the end of the program, however it comes: the real
# program on a private X server with a window manager (openbox), words
# promoted with "]" as the learner does, then
#   - SIGTERM (what a logout or a shutdown sends): the library holds them;
#   - a few seconds of waiting, then kill -9: the library holds them;
#   - Alt+F4 on the study window: back at the start window, saved;
#     Alt+F4 on the start window: the program ends.
# The library is read back with lxtool, through the program's own reader.
#
#   save_on_exit.sh PROGRAM_FOLDER PRESET_INIT_TXT LXTOOL PROBE_PROGRAM
#
# PROBE_PROGRAM (lexilark_probe) is the program with the state probe; it
# runs in a copy of PROGRAM_FOLDER in place of the plain program.
set -uo pipefail

PROGRAM_FOLDER=$1
PRESET=$2
LXTOOL=$3
PROBE_PROGRAM=$4

. "$(dirname "$0")/session.sh"

need_tools Xvfb openbox xdotool

T=$(mktemp -d "${TMPDIR:-/tmp}/lexilark-save.XXXXXX") || fail "no temporary folder"
XVFB_PID="" WM_PID="" PROG_PID=""
trap 'stop_session; rm -rf "$T"' EXIT

start_xvfb
start_openbox

# The program on a copy of its folder, studying a library of its own.
cp -r "$PROGRAM_FOLDER" "$T/prog" || fail "cannot copy $PROGRAM_FOLDER"
cp "$PROBE_PROGRAM" "$T/prog/lexilark" || fail "cannot copy $PROBE_PROGRAM"
rm -rf "$T/prog/users" "$T/prog/backups" && mkdir -p "$T/prog/users/user0"
: >"$T/words.txt"
for word in 水 山 川 木 火 土 金 月 日 人 口 目 手 足 耳 雨; do
  printf '%s\n  [名] %s\n' "$word" "$word" >>"$T/words.txt"
done
LIB="$T/prog/users/user0/save.lx"
"$LXTOOL" import "$T/words.txt" "$LIB" --utf8 --editor test --date 2026-12-10 >/dev/null ||
  fail "lxtool import failed"
sed 's#<lastwordlib0>[^<]*</lastwordlib0>#<lastwordlib0>save.lx</lastwordlib0>#' "$PRESET" >"$T/init.txt"
"$LXTOOL" encode "$T/init.txt" "$T/prog/init.ini" --utf8 || fail "lxtool encode failed"

# info NAME: the value lxtool reports for NAME in the library.
info() { "$LXTOOL" info "$LIB" 2>/dev/null | sed -n "s/^$1: //p"; }

# The program is started three times; bash keeps one coproc at a time and
# may clear a finished one's variables after the next has begun, so the
# probe talks through named pipes of its own.
start_program() {
  rm -f "$T/probe.in" "$T/probe.out"
  mkfifo "$T/probe.in" "$T/probe.out" || fail "cannot make the probe's pipes"
  (cd "$T/prog" &&
    exec env QT_QPA_PLATFORM=xcb LEXILARK_STATE_PROBE=1 ./lexilark <"$T/probe.in" >"$T/probe.out" 2>>"$T/program.log") &
  PROG_PID=$!
  exec {PROBE_IN}>"$T/probe.in" {PROBE_OUT}<"$T/probe.out"
  begin_studying
}

# promote N: "]" N times, each moving on to the next word.
promote() {
  local n=$1 before
  for _ in $(seq "$n"); do
    probe
    before=${S[word]}
    xdotool key bracketright
    local deadline=$((SECONDS + 30))
    while probe && [ "${S[word]}" == "$before" ]; do
      [ $SECONDS -lt $deadline ] || fail "\"]\" did not move on from $before"
      sleep 0.05
    done
  done
}

# ended HOW: waits until the program has ended; its status in STATUS.
ended() {
  local deadline=$((SECONDS + 30))
  while kill -0 "$PROG_PID" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the program did not end after $1"
    sleep 0.1
  done
  wait "$PROG_PID" 2>/dev/null
  STATUS=$?
  PROG_PID=""
  exec {PROBE_IN}>&- {PROBE_OUT}<&-
}

# SIGTERM before the next save is due (the clock has ticked once): the
# program saves on its way out.
echo "-- SIGTERM"
start_program
promote 5
sleep 1.5
kill -TERM "$PROG_PID"
ended SIGTERM
[ "$STATUS" = 0 ] || fail "the program ended with status $STATUS after SIGTERM"
[ "$(info grade1)" = 5 ] || fail "after SIGTERM the library holds $(info grade1) promoted words, not 5"
[ "$(info tt)" -ge 1 ] || fail "after SIGTERM the total study time is $(info tt)"

# kill -9 leaves no time to save: what the program wrote within a few
# seconds of the keys must be there.
echo "-- kill -9"
start_program
promote 3
deadline=$((SECONDS + 10))
until [ "$(info grade1)" = 8 ]; do
  [ $SECONDS -lt $deadline ] || fail "ten seconds after the keys the library holds $(info grade1) promoted words, not 8"
  sleep 0.2
done
kill -KILL "$PROG_PID"
ended "kill -9"
[ "$(info grade1)" = 8 ] || fail "after kill -9 the library holds $(info grade1) promoted words, not 8"

# Alt+F4: the study window goes back to the start window, saved; the start
# window ends the program.
echo "-- Alt+F4"
start_program
promote 2
xdotool key alt+F4
deadline=$((SECONDS + 30))
until ask "where suiButton1" && [ "$REPLY_LINE" != none ]; do
  [ $SECONDS -lt $deadline ] || fail "Alt+F4 on the study window did not bring the start window back"
  sleep 0.1
done
[ "$(info grade1)" = 10 ] || fail "after Alt+F4 the library holds $(info grade1) promoted words, not 10"
ask "where PanelE"
[ "$REPLY_LINE" = none ] || fail "the study window is still on screen after Alt+F4"
xdotool key alt+F4
ended "Alt+F4 on the start window"
[ "$STATUS" = 0 ] || fail "the program ended with status $STATUS after Alt+F4"

echo "PASS: progress survives SIGTERM, kill -9 and Alt+F4"
