# Sourced by the instruction-count scripts: checks for valgrind, makes the
# scratch folder $DIR (removed at exit) and counts with callgrind.
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 2; }
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT

# instructions NAME COMMAND...: runs COMMAND under callgrind with its output
# in $DIR/NAME.out and its messages in $DIR/NAME.err; prints the count.
instructions() {
  local name=$1
  shift
  valgrind --tool=callgrind --callgrind-out-file="$DIR/$name.cg" "$@" >"$DIR/$name.out" 2>"$DIR/$name.err"
  sed -n 's/.*refs: *\([0-9,]*\).*/\1/p' "$DIR/$name.err" | tr -d ,
}
