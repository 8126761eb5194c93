#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs the whole
# test suite; then builds again with the address and undefined-behaviour
# sanitizers and runs the suite once more.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/scripts/setup.sh"
jobs="$(nproc)"

run_suite() {
  local dir="$1"; shift
  cmake -S "$here" -B "$dir" -G Ninja -DFARSEND_WERROR=ON -DFARSEND_TESTS=ON "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600
}

echo "== Build and test (warnings are errors)"
run_suite "$here/build-ci" -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== Build and test with address and undefined-behaviour sanitizers"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DFARSEND_SANITIZE=ON
