#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package the project needs (only those missing), then configures and
# builds into build/. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev libjpeg62-turbo-dev libfontconfig-dev libsqlite3-dev libxcb1-dev libxcb-keysyms1-dev
  libgtest-dev libgmock-dev
  xvfb xauth x11-utils x11-xkb-utils trayer xdotool imagemagick fonts-dejavu-core dbus dbus-x11 util-linux
  xfce4-panel lxqt-panel dunst libglib2.0-bin appstream desktop-file-utils lintian python3
  ccache fonts-liberation qt6-translations-l10n qt6-qpa-plugins qt6-wayland openbox weston strace
  user-mode-linux python3-gi gir1.2-atspi-2.0 at-spi2-core
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
