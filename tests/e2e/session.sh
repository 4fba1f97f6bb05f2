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

# start_xvfb: a private X server on a free display; sets XVFB_PID and
# DISPLAY. Without key repeat: on a loaded machine the release of a key
# the test taps can come late enough for the server to repeat the press,
# and a repeated Down or Enter moves on one word or message too far.
start_xvfb() {
  local displayfd
  exec {displayfd}>"$T/display"
  Xvfb -displayfd "$displayfd" -screen 0 1280x800x24 -nolisten tcp -r >"$T/xvfb.log" 2>&1 &
  XVFB_PID=$!
  exec {displayfd}>&-
  await_start Xvfb "$XVFB_PID" test -s "$T/display"
  export DISPLAY=":$(head -n 1 "$T/display")"
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
