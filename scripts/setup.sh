#!/usr/bin/env bash
# Installs what building and testing Farsend 98 needs on Debian 12, if missing.
set -euo pipefail

# desktop-file-utils, dpkg-dev (dpkg-shlibdeps and dpkg-buildflags for the
# package), libglib2.0-bin (gio launch), libxml2-utils (xmllint), lintian,
# appstream (appstreamcli), xdotool, weston and qt6-wayland (the program on X
# and on a headless Wayland compositor): the installation tests.
packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev
          qt6-qpa-plugins libqt6svg6 xvfb xauth desktop-file-utils dpkg-dev file imagemagick fonts-dejavu-core
          libglib2.0-bin libxml2-utils lintian appstream xdotool weston qt6-wayland)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
