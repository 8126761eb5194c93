#!/usr/bin/env bash
# Builds the benchmarks optimised and runs them: the directory search against
# find(1), and the transfer (the real window, offscreen) against cp(1) and mv(1). Each
# prints its figures and ratios; nothing here passes or fails.
#   ./bench.sh            both
#   ./bench.sh search     the directory search only
#   ./bench.sh transfer   the transfer only
#   ./bench.sh transfer /dev/shm/scratch   ... with its data in that folder
# (the transfer bench's own header says what it measures and which
# environment variables choose its cases).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/scripts/setup.sh" >&2
cmake -S "$here" -B "$here/build-rel" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFARSEND_TESTS=OFF >/dev/null
cmake --build "$here/build-rel" --target benchmarks >&2
what="${1:-all}"
if [ "$what" = all ] || [ "$what" = search ]; then "$here/build-rel/bench/cfiles_bench"; fi
if [ "$what" = all ] || [ "$what" = transfer ]; then QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$here/build-rel/bench/transfer_bench" "${@:2}"; fi
