# Shared by the lxtool shell tests (sourced, not run on its own): a scratch
# folder removed on exit, a failure counter and the common expectations.
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# hex FILE: the file's bytes as one run of lower-case hex digits.
hex() { od -An -v -tx1 "$1" | tr -d ' \n'; }

# expect_refusal NAME PATTERN COMMAND...: non-zero exit, PATTERN on stderr,
# nothing on stdout.
expect_refusal() {
  local name=$1 pattern=$2; shift 2
  if "$@" >"$DIR/out" 2>"$DIR/err"; then fail "$name: succeeded"; return; fi
  grep -q -- "$pattern" "$DIR/err" || fail "$name: stderr lacks '$pattern': $(cat "$DIR/err")"
  [ -s "$DIR/out" ] && fail "$name: wrote to stdout"
}

# expect_output NAME EXPECTED-FILE COMMAND...: success, stdout exactly as expected.
expect_output() {
  local name=$1 expected=$2; shift 2
  "$@" >"$DIR/out" 2>"$DIR/err" || { fail "$name: exit status $?: $(cat "$DIR/err")"; return; }
  cmp -s "$expected" "$DIR/out" || fail "$name: output differs:
$(diff "$expected" "$DIR/out")"
}

# finish WHAT: the exit status and summary line of a test script.
finish() {
  if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
  echo "all $1 checks passed"
}
