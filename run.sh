#!/usr/bin/env bash
# Installs what is missing, builds, and starts Farsend 98 on the given paths:
#   ./run.sh ~/report.txt ~/Pictures
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/scripts/setup.sh" >&2
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
# The build speaks only when it fails.
if ! { cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
       cmake --build "$here/build" --target farsend98; } >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
"$here/build/farsend98" "$@"
