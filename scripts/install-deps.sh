#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Lexilark
# need (edict and MeCab only for the dictionary test; nothing of them is
# shipped). Safe to run again: apt-get skips what is already there.
set -euo pipefail
PACKAGES=(
  cmake g++ make pkg-config ccache
  libsqlite3-dev qt6-charts-dev libqt6opengl6-dev
  # SHA-256 of the shipped files in an installed program's data folder
  nettle-dev
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-qpa-plugins libgl-dev
  libx11-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-wqy-microhei fonts-ipaexfont-gothic
  # the font sets the windows are checked under (tst_windowsfit)
  fonts-dejavu-core fonts-urw-base35 fonts-droid-fallback fonts-noto-cjk
  qt6-translations-l10n
  # the sync: the desktop's key store for the WebDAV password, and the real
  # Apache WebDAV server (mod_dav, mod_dav_fs, mod_ssl) the sync tests start,
  # with openssl making the certificates of its https tests
  qtkeychain-qt6-dev apache2 openssl
  fp-utils xchm xdg-utils desktop-file-utils
  xvfb xauth
  edict
  # the dictionary test splits example sentences into words with MeCab
  mecab mecab-ipadic-utf8 libmecab-dev
  # the Debian package: icons rendered from their SVG, lxtool's manual page,
  # and the package checks
  librsvg2-bin help2man dpkg-dev lintian appstream file
  clang-14 libclang-rt-14-dev clang-format-14
  # the input-method test: an X server, a session bus, fcitx5 with anthy and
  # its Qt 6 module, and a key sender
  dbus-x11 fcitx5 fcitx5-anthy fcitx5-frontend-qt6 xdotool
  # the window manager whose Alt+F4 the save-on-exit test presses
  openbox
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
