#!/usr/bin/env bash
# The package as Debian and the desktops judge it: lintian reports no
# errors (the warnings kept are listed in the README), the menu entry and
# the AppStream description validate.
#
#   checks.sh PACKAGE_BUILD_DIR
set -uo pipefail
BUILD=$1
deb=$(ls "$BUILD"/lexilark_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "FAIL: no package in $BUILD" >&2; exit 1; }
T=$(mktemp -d "${TMPDIR:-/tmp}/lexilark-package.XXXXXX")
trap 'rm -rf "$T"' EXIT
status=0

lintian --tag-display-limit 0 "$deb" >"$T/lintian.txt" 2>&1
cat "$T/lintian.txt"
if grep -q '^E:' "$T/lintian.txt"; then
  echo "FAIL: lintian reports errors" >&2
  status=1
fi

dpkg-deb -x "$deb" "$T/root"
for entry in "$T"/root/usr/share/applications/*.desktop; do
  desktop-file-validate "$entry" || { echo "FAIL: $entry" >&2; status=1; }
done
for info in "$T"/root/usr/share/metainfo/*.metainfo.xml; do
  appstreamcli validate --no-net "$info" || { echo "FAIL: $info" >&2; status=1; }
done

# What the desktop needs to show the entry: the program it starts and the
# icon it names, in every size the hicolor theme is asked for.
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$T"/root/usr/share/applications/*.desktop)
[ -x "$T/root/usr/bin/$exec_name" ] || { echo "FAIL: the menu entry starts $exec_name, not installed" >&2; status=1; }
icon=$(sed -n 's/^Icon=//p' "$T"/root/usr/share/applications/*.desktop)
for size in 16x16 32x32 48x48 128x128 256x256; do
  file "$T/root/usr/share/icons/hicolor/$size/apps/$icon.png" | grep -q "${size/x/ x }," ||
    { echo "FAIL: no $size icon $icon.png" >&2; status=1; }
done
[ -s "$T/root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || { echo "FAIL: no scalable icon" >&2; status=1; }
for page in lexilark lxtool; do
  zcat "$T/root/usr/share/man/man1/$page.1.gz" | grep -q '^\.TH' || { echo "FAIL: no manual page for $page" >&2; status=1; }
done

[ $status = 0 ] && echo "PASS: lintian, desktop-file-validate and appstreamcli accept $(basename "$deb")"
exit $status
