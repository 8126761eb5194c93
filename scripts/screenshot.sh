#!/usr/bin/env bash
# Renders the main window on a virtual display, started on a few scratch
# items with a scratch settings store, and writes docs/screenshot.png.
#   scripts/screenshot.sh [build-dir]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
out="$here/docs/screenshot.png"

if [ ! -x "$build/farsend98" ]; then
  cmake -S "$here" -B "$build" -G Ninja >/dev/null
fi
cmake --build "$build" --target farsend98 >/dev/null

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home/.config/Farsend98" "$scratch/Documents/Letters" "$scratch/Backup/2024" \
         "$scratch/Backup/Photos" "$scratch/Backup/Projects"
printf 'Dear reader\n' >"$scratch/Documents/Report.doc"
printf 'Sums\n' >"$scratch/Documents/Budget.xls"
cat >"$scratch/home/.config/Farsend98/VA30.ini" <<INI
[Options]
RootDir=False
LDU=$scratch/Backup
INI

export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config"
unset QT_QPA_PLATFORM
mkdir -p "$(dirname "$out")"
xvfb-run -a -s "-screen 0 640x480x24 -dpi 96" bash -c '
  set -euo pipefail
  out="$1"; shift
  "$@" &
  pid=$!
  id=""
  for _ in $(seq 50); do
    id="$(xwininfo -root -tree 2>/dev/null | awk "/\\(\"farsend98\"/ { print \$1; exit }")"
    [ -n "$id" ] && break
    sleep 0.2
  done
  sleep 1  # let the first paint finish
  [ -n "$id" ] || { echo "the window did not appear" >&2; kill "$pid"; exit 1; }
  import -window "$id" "$out"
  kill "$pid"
' _ "$out" "$build/farsend98" "$scratch/Documents/Report.doc" "$scratch/Documents/Letters" \
  "$scratch/Documents/Budget.xls"
echo "wrote $out"
