#!/usr/bin/env bash
# Installs what is missing, builds into build-run/, and starts Farsend 98 with
# the given paths as the selected items, as a file manager would; none of
# them is the destination, which is chosen in the window:
#   ./run.sh ~/Pictures ~/report.txt
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/scripts/setup.sh" >&2
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
# The build speaks only when it fails. Its own folder: the README's build
# (build/), test.sh's and bench.sh's have other build types.
if ! { cmake -S "$here" -B "$here/build-run" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
       cmake --build "$here/build-run" --target farsend98; } >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
"$here/build-run/farsend98" "$@"
