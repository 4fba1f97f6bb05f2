#!/usr/bin/env bash
# The build's layer check stops a crossing and lets the program's own
# layout through: each case copies the sources, adds one include where it
# must not be, and expects the check to fail naming that file.
# Usage: layer_check.sh SOURCE_DIR
set -euo pipefail
SRC=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
for folder in core tools session widgets platform shell study select settings help stats cmake; do
  mkdir -p "$WORK/$folder"
  cp "$SRC/$folder"/*.h "$SRC/$folder"/*.cpp "$WORK/$folder/" 2>/dev/null || true
done
cp "$SRC/cmake/LayerCheck.cmake" "$WORK/cmake/"
check() { cmake -DSOURCE_DIR="$WORK" -P "$WORK/cmake/LayerCheck.cmake" 2>&1; }

out=$(check) || { echo "the sources as they are fail the check:"; echo "$out"; exit 1; }

failures=0
# file to change | include added | what the message must say
while IFS='|' read -r file header says; do
  cp "$WORK/$file" "$WORK/$file.orig"
  echo "#include \"$header\"" >>"$WORK/$file"
  if out=$(check); then
    echo "FAIL: $file including $header passed the check"
    failures=$((failures + 1))
  elif ! grep -qF "$file includes $header: $says" <<<"$out"; then
    echo "FAIL: $file including $header: unexpected message:"
    echo "$out"
    failures=$((failures + 1))
  fi
  mv "$WORK/$file.orig" "$WORK/$file"
done <<'CASES'
help/formhelp.cpp|study/formmain.h|a window includes no other window
select/selectwordlib.h|settings/formmakewordlib.h|a window includes no other window
study/formmain_flow.cpp|shell/formstart.h|a window includes no other window
study/formmain_present.cpp|shell/desktop.h|a window includes no other window
stats/formstats.cpp|shell/windowwiring.h|a window includes no other window
session/studysession.h|widgets/answeredit.h|the study session includes only core/
widgets/answeredit.cpp|study/formmain.h|widgets/ and platform/ include no window
shell/main.cpp|tests/support/login_windows.h|the program contains nothing of the tests
shell/appwindows.h|study/formmain.h|a header kept for the windows includes no window
CASES
# What a window may use: the session, the kept shell headers, its own folder.
cp "$WORK/settings/formmakewordlib.cpp" "$WORK/orig.cpp"
printf '#include "session/studysession.h"\n#include "shell/appwindows.h"\n#include "shell/learnersync.h"\n' >>"$WORK/settings/formmakewordlib.cpp"
out=$(check) || { echo "FAIL: a window's allowed includes were refused:"; echo "$out"; failures=$((failures + 1)); }
mv "$WORK/orig.cpp" "$WORK/settings/formmakewordlib.cpp"
[ "$failures" -eq 0 ] && echo "layer check: every crossing stopped, the allowed includes pass"
exit "$failures"
