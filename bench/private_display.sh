# Sourced by the start-up scripts: makes the scratch folder $DIR, starts a
# private Xvfb for the programs to show their windows on (both gone at exit)
# and sets the environment every measured start shares.
DIR=$(mktemp -d)
XPID=
cleanup() {
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null && wait "$XPID" 2>/dev/null
  rm -rf "$DIR"
}
trap cleanup EXIT
DISPLAY_NUMBER=$((200 + RANDOM % 300))
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x1024x24 -nolisten tcp >"$DIR/xvfb.log" 2>&1 &
XPID=$!
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] && break
  sleep 0.05
done
mkdir -m 700 "$DIR/runtime"
export DISPLAY=":$DISPLAY_NUMBER" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$DIR/runtime"
unset LEXILARK_STATE_PROBE

# copy_program_folder BUILD_DIR: the program on a copy of its program folder
# ($DIR/Lexilark), so that the starts measured leave the build's alone.
copy_program_folder() {
  cp -rL "$1/Lexilark" "$DIR/Lexilark"
  rm -f "$DIR/Lexilark/lexilark.lock"
}
