# Shared by the end-to-end tests (sourced): failing with the logs, waiting
# for a process to come up, a private X server, and reading the program's
# state probe (tests/e2e/stateprobe.h). The test sets T (its temporary
# folder) before using them, and talks to the program through the coproc
# PROG.

fail() {
  echo "FAIL: $*" >&2
  [ -n "${LAST_STATE:-}" ] && echo "last state: $LAST_STATE" >&2
  for log in "${T:-/nonexistent}"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log") (end)" >&2; tail -n 15 "$log" >&2; }
  done
  exit 1
}

# need_tools TOOL...: fails unless every TOOL is installed.
need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps.sh installs it)"
  done
}

# await_start NAME PID COMMAND...: waits until COMMAND succeeds while the
# process PID runs.
await_start() {
  local name=$1 pid=$2
  shift 2
  for _ in $(seq 100); do
    "$@" >/dev/null 2>&1 && return 0
    kill -0 "$pid" 2>/dev/null || fail "$name ended at start"
    sleep 0.1
  done
  fail "$name did not come up"
}

# start_xvfb [WIDTHxHEIGHT]: a private X server on a free display, its
# screen 1280x800 unless given; sets XVFB_PID and DISPLAY. Without key
# repeat: on a loaded machine the release of a key the test taps can come
# late enough for the server to repeat the press, and a repeated Down or
# Enter moves on one word or message too far.
start_xvfb() {
  local displayfd size=${1:-1280x800}
  exec {displayfd}>"$T/display"
  Xvfb -displayfd "$displayfd" -screen 0 "${size}x24" -nolisten tcp -r >"$T/xvfb.log" 2>&1 &
  XVFB_PID=$!
  exec {displayfd}>&-
  await_start Xvfb "$XVFB_PID" test -s "$T/display"
  export DISPLAY=":$(head -n 1 "$T/display")"
}

# start_openbox: the openbox window manager on DISPLAY, with a home of its
# own in T; sets WM_PID.
start_openbox() {
  export HOME="$T/home" XDG_CONFIG_HOME="$T/home/.config" XDG_RUNTIME_DIR="$T/runtime"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  openbox --sm-disable >"$T/openbox.log" 2>&1 &
  WM_PID=$!
  # openbox is up once it answers for the current desktop (EWMH).
  await_start openbox "$WM_PID" xdotool get_desktop
}

# stop_session: ends the program, the window manager and the X server the
# test started (PROG_PID, WM_PID, XVFB_PID), each by its process id.
stop_session() {
  local pid
  for pid in "${PROG_PID:-}" "${WM_PID:-}" "${XVFB_PID:-}"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
  for pid in "${PROG_PID:-}" "${WM_PID:-}" "${XVFB_PID:-}"; do
    [ -n "$pid" ] && wait "$pid" 2>/dev/null
  done
  PROG_PID="" WM_PID="" XVFB_PID=""
}

# One request to the probe; its answer in REPLY_LINE. The probe is the
# coproc PROG, or the descriptors PROBE_IN and PROBE_OUT where the test
# sets them.
ask() {
  printf '%s\n' "$1" >&"${PROBE_IN:-${PROG[1]}}" 2>/dev/null || fail "the program has ended"
  IFS= read -r -t 10 REPLY_LINE <&"${PROBE_OUT:-${PROG[0]}}" || fail "the program did not answer \"$1\""
}

declare -A S
probe() {
  ask state
  LAST_STATE=$REPLY_LINE
  S=()
  local field fields
  IFS=$'\t' read -r -a fields <<<"$REPLY_LINE"
  for field in "${fields[@]}"; do S[${field%%=*}]=${field#*=}; done
}

# await WHAT name=value...: waits until the program shows all of them, for
# up to half a minute (the sanitizer build on a loaded machine can take
# seconds over a group's end).
await() {
  local what=$1 pair ok deadline=$((SECONDS + 30))
  shift
  while [ $SECONDS -lt $deadline ]; do
    probe
    ok=1
    for pair in "$@"; do
      [ "${S[${pair%%=*}]-}" == "${pair#*=}" ] || { ok=0; break; }
    done
    [ $ok = 1 ] && return 0
    sleep 0.1
  done
  fail "$what: expected $*"
}

# begin_studying: from the start window the program shows at its start,
# "开始背单词" until the study window has the keyboard. The window manager
# may still be placing the start window when the probe first names the
# button's place: a click that lands beside it is tried again while the
# button is on screen.
begin_studying() {
  await "the start window" message=
  local deadline=$((SECONDS + 30))
  until probe && [ "${S[focus]-}" = EditInput ]; do
    [ $SECONDS -lt $deadline ] || fail "开始背单词 did not start studying"
    ask "where suiButton1"
    [ "$REPLY_LINE" != none ] && xdotool mousemove $REPLY_LINE click 1
    sleep 0.5
  done
  await "studying" focus=EditInput answer=
}
