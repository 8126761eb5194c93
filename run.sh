#!/usr/bin/env bash
# Installs what is missing, builds, and starts Farsend 98 on the given paths:
#   ./run.sh ~/report.txt ~/Pictures
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/scripts/setup.sh" >&2
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build" --target farsend98 >&2
exec "$here/build/farsend98" "$@"
