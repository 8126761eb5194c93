# Shared helpers of the installation tests (sourced, not run).
# Every test script is called as: bash SCRIPT PROGRAM SOURCE_DIR BUILD_DIR
set -u
source_dir=$(realpath -- "$2")
build_dir=$(realpath -- "$3")
passed=0 failed=0 skipped=0
scratch=$(mktemp -d "${TMPDIR:-/tmp}/farsend98-test.XXXXXX")
cleanup_pids=()
trap '((${#cleanup_pids[@]})) && kill "${cleanup_pids[@]}" 2>/dev/null; rm -rf -- "$scratch"' EXIT

# Nothing may reach the real home or settings.
export HOME="$scratch/home-unused" XDG_CONFIG_HOME="$scratch/home-unused/.config"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_DIRS="$scratch/no-system-config"
mkdir -p "$HOME"

ok() { passed=$((passed + 1)); printf 'ok   - %s\n' "$1"; }
skip() { skipped=$((skipped + 1)); printf 'skip - %s (%s)\n' "$1" "$2"; }
fail() {
    failed=$((failed + 1))
    printf 'FAIL - %s\n' "$1"
    printf '       %s\n' "${@:2}"
}
# check DESCRIPTION COMMAND...: passes when COMMAND succeeds.
check() {
    local out
    if out=$("${@:2}" 2>&1); then ok "$1"; else fail "$1" "$out"; fi
}
# same DESCRIPTION EXPECTED ACTUAL
same() {
    if [ "$2" = "$3" ]; then ok "$1"; else fail "$1" "$(diff <(printf '%s\n' "$2") <(printf '%s\n' "$3"))"; fi
}
finish() {
    printf '%d passed, %d failed, %d skipped\n' "$passed" "$failed" "$skipped"
    [ "$failed" -eq 0 ]
}
# or_stop DESCRIPTION COMMAND...: runs COMMAND, or reports its output and ends the script.
or_stop() {
    "${@:2}" > "$scratch/stop.log" 2>&1 && return
    fail "$1" "$(cat "$scratch/stop.log")"
    finish
    exit 1
}

# locked COMMAND...: runs COMMAND with the build folder locked, so that
# tests running side by side do not install from it at the same time.
locked() { (flock 9 && "$@") 9< "$build_dir"; }

# preserving_manifest COMMAND...: runs COMMAND (an install from the build
# folder, which rewrites its install records) and puts the records back as
# they were: they may list a real installation that someone will want to
# uninstall.
restoring() {
    local status
    cp -p -- "$build_dir"/install_{manifest,folders}.txt "$scratch" 2>/dev/null
    "$@"
    status=$?
    rm -f -- "$build_dir"/install_{manifest,folders}.txt
    cp -p -- "$scratch"/install_{manifest,folders}.txt "$build_dir" 2>/dev/null
    return $status
}
preserving_manifest() { locked restoring "$@"; }

# install_or_stop PREFIX: cmake --install into PREFIX, or report the failure and end the script.
install_or_stop() { or_stop "cmake --install into $1" preserving_manifest cmake --install "$build_dir" --prefix "$1"; }

# wait_for COMMAND...: up to 20 s for COMMAND (a program, not a function) to succeed.
wait_for() { timeout 20 sh -c 'until "$@" 2>/dev/null; do sleep 0.1; done' sh "$@"; }

# make_standin PATH RECORD: a program at PATH that writes its arguments,
# each followed by a NUL byte, to RECORD (complete when RECORD appears).
make_standin() {
    printf '#!/bin/sh\nfor arg do printf "%%s\\0" "$arg"; done > %q.partial\nmv -f %q.partial %q\n' \
        "$2" "$2" "$2" > "$1"
    chmod 755 "$1"
}

# expect_record DESCRIPTION RECORD ARG...: waits for RECORD (launchers such
# as gio return at once) and checks that it holds exactly the given
# arguments in order; the differences are shown one argument a line, quoted
# so that every byte shows.
expect_record() {
    wait_for test -e "$2"
    same "$1" "$(shift 2 && (($#)) && printf '%s\0' "$@" | xargs -0 printf '%q\n')" \
        "$(xargs -0 -r printf '%q\n' 2>/dev/null < "$2" || echo "(the program was not started)")"
    rm -f -- "$2"
}

# snapshot DIR: everything under DIR with type, mode and content digest or
# link target, to compare a tree before and after.
snapshot() { (cd "$1" && find . -printf '%y %m %p %l\n' -type f -exec sha256sum {} + | sort); }
