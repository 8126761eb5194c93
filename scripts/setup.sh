#!/usr/bin/env bash
# Installs what building and testing Farsend 98 needs on Debian 12, if missing.
set -euo pipefail

# desktop-file-utils, dpkg-dev (dpkg-shlibdeps and dpkg-buildflags for the
# package), libglib2.0-bin (gio launch), libxml2-utils (xmllint), lintian,
# appstream (appstreamcli), xdotool, weston and qt6-wayland (the program on X
# and on a headless Wayland compositor): the installation tests. The windows
# take the desktop's font; the layout test draws them in each sans serif that
# Debian desktops bring: DejaVu Sans, Liberation Sans, Noto Sans, Cantarell.
# fusefat, exfat-fuse (with fuse), dosfstools and exfatprogs: the transfer onto
# FAT32 and exFAT images mounted through FUSE; e2fsprogs and xfsprogs (xfs_io):
# an ext4 image stopped without a flush, as when a stick is pulled out.
packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev
          qt6-qpa-plugins libqt6svg6 xvfb xauth desktop-file-utils dpkg-dev file imagemagick fonts-dejavu-core
          fonts-liberation2 fonts-noto-core fonts-cantarell
          libglib2.0-bin libxml2-utils lintian appstream xdotool weston qt6-wayland
          fusefat exfat-fuse dosfstools exfatprogs e2fsprogs xfsprogs)

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
