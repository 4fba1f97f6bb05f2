#!/usr/bin/env bash
# The installed program end to end, as a learner meets it: the package
# installed with apt-get, a new account starting /usr/bin/lexilark on a
# private X server, studying through real key events, then an upgrade to a
# newer package with a changed and a new shipped library, then removal.
# The learner's folder ~/.local/share/Lexilark must hold the progress
# through all of it, and /usr/share/lexilark must never be written.
#
#   install.sh PACKAGE_BUILD_DIR LXTOOL
#
# Needs root (apt-get, useradd), as CI runs; skipped (77) otherwise. The
# package, the account and every process it started are removed at the
# end, also when it fails.
set -uo pipefail
BUILD=$1
LXTOOL=$2

[ "$(id -u)" = 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
fail() {
  echo "FAIL: $*" >&2
  [ -s "${T:-/nonexistent}/program.log" ] && { echo "--- program.log" >&2; tail -n 15 "$T/program.log" >&2; }
  exit 1
}
for tool in apt-get dpkg-deb useradd runuser Xvfb xdotool flock; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
deb=$(ls "$BUILD"/lexilark_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package in $BUILD"

# One run at a time on a machine: two would install over each other.
exec {lockfd}>/tmp/lexilark-package-test.lock
flock -w 600 "$lockfd" || fail "another package test holds /tmp/lexilark-package-test.lock"
dpkg-query -W -f='${Status}' lexilark 2>/dev/null | grep -q "install ok installed" &&
  fail "lexilark is already installed on this machine; the test installs and removes it, remove it first"

T=$(mktemp -d "${TMPDIR:-/tmp}/lexilark-install.XXXXXX") || fail "no temporary folder"
chmod 755 "$T"
LEARNER=lxtest$$
XVFB_PID="" INSTALLED=0 MADE_USER=0
export DEBIAN_FRONTEND=noninteractive
APT=(apt-get -y -q -o DPkg::Lock::Timeout=300)
cleanup() {
  local pid
  if [ "$MADE_USER" = 1 ]; then
    for pid in $(pgrep -u "$LEARNER"); do kill "$pid" 2>/dev/null; done
    # userdel refuses an account whose processes have not ended yet.
    for _ in $(seq 50); do
      pgrep -u "$LEARNER" >/dev/null || break
      sleep 0.1
    done
    for pid in $(pgrep -u "$LEARNER"); do kill -KILL "$pid" 2>/dev/null; done
  fi
  [ -n "$XVFB_PID" ] && { kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; }
  [ "$INSTALLED" = 1 ] && "${APT[@]}" purge lexilark >/dev/null 2>&1
  if [ "$MADE_USER" = 1 ]; then
    sleep 0.2
    userdel -r "$LEARNER" >/dev/null 2>&1
    id "$LEARNER" >/dev/null 2>&1 && echo "warning: the account $LEARNER could not be deleted" >&2
  fi
  rm -rf "$T"
}
trap cleanup EXIT

# waitfor WHAT COMMAND...: up to half a minute.
waitfor() {
  local what=$1
  shift
  for _ in $(seq 300); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "$what"
}

exec {displayfd}>"$T/display"
Xvfb -displayfd "$displayfd" -screen 0 1280x800x24 -nolisten tcp >"$T/xvfb.log" 2>&1 &
XVFB_PID=$!
exec {displayfd}>&-
waitfor "Xvfb did not come up" test -s "$T/display"
export DISPLAY=":$(head -n 1 "$T/display")"

useradd -m -s /bin/bash "$LEARNER" || fail "useradd $LEARNER failed"
MADE_USER=1
HOME_DIR=$(getent passwd "$LEARNER" | cut -d: -f6)
DATA=$HOME_DIR/.local/share/Lexilark

"${APT[@]}" install "$(realpath "$deb")" >"$T/apt.log" 2>&1 || { cat "$T/apt.log" >&2; fail "apt-get install $deb failed"; }
INSTALLED=1
[ -x /usr/bin/lexilark ] && [ -x /usr/bin/lxtool ] || fail "the package did not install /usr/bin/lexilark and /usr/bin/lxtool"
shipped_sums() { (cd /usr/share/lexilark && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
shipped_sums >"$T/shipped.before"

visible() { xdotool search --onlyvisible --name "$1"; }
START_WINDOW="澜悦系列软件"
STUDY_WINDOW="^澜悦日语单词"

start_program() {
  runuser -u "$LEARNER" -- env -i HOME="$HOME_DIR" USER="$LEARNER" LOGNAME="$LEARNER" PATH=/usr/bin:/bin \
    DISPLAY="$DISPLAY" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb /usr/bin/lexilark >>"$T/program.log" 2>&1 &
  PROGRAM=$!
  waitfor "the start window did not appear" visible "$START_WINDOW"
}
# Gives the start window the keyboard (there is no window manager): a
# click on its bottom line, which leaves the focus on 开始背单词.
focus_start_window() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$(visible "$START_WINDOW" | head -n 1)")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 18)) click 1
  sleep 0.3
}
# 退出系统 is the sixth button; the program ends.
quit_program() {
  focus_start_window
  xdotool key --delay 100 Tab Tab Tab Tab Tab space
  for _ in $(seq 100); do
    kill -0 "$PROGRAM" 2>/dev/null || { wait "$PROGRAM"; return 0; }
    sleep 0.1
  done
  fail "退出系统 did not end the program"
}
library=$DATA/users/user0/日语N5词汇.lx
grade() { "$LXTOOL" info "$library" | sed -n "s/^grade$1: //p"; }

# First start: the folder is laid out, the administrator studies.
start_program
[ -s "$DATA/init.ini" ] && [ -s "$library" ] && [ -s "$DATA/wordlib/日语N4词汇.lx" ] && [ -s "$DATA/lx1.en" ] ||
  fail "the first start did not lay out $DATA"
[ "$(stat -c %U "$DATA/init.ini")" = "$LEARNER" ] || fail "init.ini does not belong to the learner"
focus_start_window
xdotool key space
waitfor "开始背单词 did not open the study window" visible "$STUDY_WINDOW"
sleep 0.5
# → promotes the word shown, ↓ goes on to the next one.
xdotool key --delay 200 Right Down
sleep 0.5
# 返回 (left column of the study window, on this screen size) saves the
# library and brings the start window back.
xdotool mousemove 97 565 click 1
waitfor "返回 did not bring the start window back (has the study window's layout changed?)" visible "$START_WINDOW"
quit_program
[ "$(grade 1)" = 1 ] || fail "the studied word is not at grade 1 in $library: $("$LXTOOL" info "$library")"
shipped_sums | cmp -s - "$T/shipped.before" || fail "/usr/share/lexilark changed while the program ran"
cp "$DATA/init.ini" "$T/init.learner"

# A newer package: a changed shipped library (日语N4词汇), a new one, and a
# changed preset copy for new learners, which must not reach this one.
dpkg-deb -R "$deb" "$T/newer" || fail "dpkg-deb -R failed"
printf '新しい\n  [形1] 新的\n' >"$T/new.txt"
printf '変わる\n  [动1] 变化\n' >"$T/changed.txt"
share=$T/newer/usr/share/lexilark
rm -f "$share/wordlib/日语N4词汇.lx"
"$LXTOOL" import "$T/changed.txt" "$share/wordlib/日语N4词汇.lx" --utf8 --editor test --date 2026-12-11 >/dev/null &&
  "$LXTOOL" import "$T/new.txt" "$share/wordlib/新词库.lx" --utf8 --editor test --date 2026-12-11 >/dev/null ||
  fail "lxtool import failed"
cp "$share/wordlib/新词库.lx" "$share/users/user0/日语N5词汇.lx"
version=$(sed -n 's/^Version: //p' "$T/newer/DEBIAN/control")
sed -i "s/^Version: .*/Version: $version.1/" "$T/newer/DEBIAN/control"
(cd "$T/newer" && find usr -type f -print0 | sort -z | xargs -0 md5sum >DEBIAN/md5sums)
dpkg-deb --root-owner-group -b "$T/newer" "$T/lexilark_$version.1_amd64.deb" >/dev/null || fail "dpkg-deb -b failed"
"${APT[@]}" install "$T/lexilark_$version.1_amd64.deb" >"$T/apt.log" 2>&1 || { cat "$T/apt.log" >&2; fail "the upgrade failed"; }
[ "$(dpkg-query -W -f='${Version}' lexilark)" = "$version.1" ] || fail "the upgrade did not install $version.1"

start_program
cmp -s "$DATA/wordlib/新词库.lx" "$share/wordlib/新词库.lx" || fail "the new shipped library did not appear"
cmp -s "$DATA/wordlib/日语N4词汇.lx" "$share/wordlib/日语N4词汇.lx" || fail "the changed shipped library was not brought in"
quit_program
[ "$(grade 1)" = 1 ] || fail "the progress is gone after the upgrade: $("$LXTOOL" info "$library")"
cmp -s "$DATA/init.ini" "$T/init.learner" || fail "the upgrade changed the learner's init.ini"

"${APT[@]}" remove lexilark >"$T/apt.log" 2>&1 || { cat "$T/apt.log" >&2; fail "apt-get remove failed"; }
INSTALLED=0
[ ! -e /usr/bin/lexilark ] || fail "/usr/bin/lexilark is still there after removal"
[ "$(grade 1)" = 1 ] && cmp -s "$DATA/init.ini" "$T/init.learner" || fail "removing the package touched $DATA"

echo "PASS: installed, studied, upgraded and removed; the learner's progress stayed in $DATA"
