# Shared helpers of the installation tests (sourced, not run).
# Every test script is called as: bash SCRIPT PROGRAM SOURCE_DIR BUILD_DIR

set -u

program_built=$(realpath -- "$1")
source_dir=$(realpath -- "$2")
build_dir=$(realpath -- "$3")
passed=0 failed=0 skipped=0

scratch=$(mktemp -d "${TMPDIR:-/tmp}/farsend98-test.XXXXXX")
cleanup_pids=()
cleanup() {
    ((${#cleanup_pids[@]})) && kill "${cleanup_pids[@]}" 2>/dev/null
    rm -rf -- "$scratch"
}
trap cleanup EXIT

# Nothing may reach the real home or settings.
export HOME="$scratch/home-unused" XDG_CONFIG_HOME="$scratch/home-unused/.config"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_DIRS="$scratch/no-system-config"
mkdir -p "$HOME"

ok() { passed=$((passed + 1)); printf 'ok   - %s\n' "$1"; }
skip() { skipped=$((skipped + 1)); printf 'skip - %s (%s)\n' "$1" "$2"; }
fail() {
    failed=$((failed + 1))
    printf 'FAIL - %s\n' "$1"
    shift
    printf '       %s\n' "$@"
}
# check DESCRIPTION COMMAND...: passes when COMMAND succeeds.
check() {
    local what=$1 out
    shift
    if out=$("$@" 2>&1); then ok "$what"; else fail "$what" "$out"; fi
}
# same DESCRIPTION EXPECTED ACTUAL
same() {
    if [ "$2" = "$3" ]; then ok "$1"; else fail "$1" "$(diff <(printf '%s\n' "$2") <(printf '%s\n' "$3"))"; fi
}
finish() {
    printf '%d passed, %d failed, %d skipped\n' "$passed" "$failed" "$skipped"
    [ "$failed" -eq 0 ]
}

# locked COMMAND...: runs COMMAND with the build folder locked, so that
# tests running side by side do not install from it at the same time.
locked() { (flock 9 && "$@") 9< "$build_dir"; }

# preserving_manifest COMMAND...: runs COMMAND (an install from the build
# folder, which rewrites its install records) and puts the records back as
# they were: they may list a real installation that someone will want to
# uninstall.
restoring() {
    local f status
    for f in install_manifest.txt install_folders.txt; do
        rm -f -- "$scratch/$f"
        [ ! -f "$build_dir/$f" ] || cp -p -- "$build_dir/$f" "$scratch/$f"
    done
    "$@"
    status=$?
    for f in install_manifest.txt install_folders.txt; do
        if [ -f "$scratch/$f" ]; then mv -f -- "$scratch/$f" "$build_dir/$f"; else rm -f -- "$build_dir/$f"; fi
    done
    return $status
}
preserving_manifest() { locked restoring "$@"; }

# install_or_stop PREFIX: cmake --install into PREFIX, or report the failure and end the script.
install_or_stop() {
    if ! preserving_manifest cmake --install "$build_dir" --prefix "$1" > "$scratch/install.log" 2>&1; then
        fail "cmake --install into $1" "$(cat "$scratch/install.log")"
        finish
        exit 1
    fi
}

# make_standin PATH RECORD: a program at PATH that writes its arguments,
# each followed by a NUL byte, to RECORD (complete when RECORD appears).
make_standin() {
    printf '#!/bin/sh\nfor arg do printf "%%s\\0" "$arg"; done > %q.partial\nmv -f %q.partial %q\n' \
        "$2" "$2" "$2" > "$1"
    chmod 755 "$1"
}

# expect_record DESCRIPTION RECORD ARG...: waits for RECORD (launchers such
# as gio return at once) and checks that it holds exactly the given
# arguments in order; the differences are shown one argument a line.
expect_record() {
    local what=$1 record=$2 waited=0
    shift 2
    while [ ! -e "$record" ] && [ "$waited" -lt 200 ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    if [ ! -e "$record" ]; then
        fail "$what" "the program was not started"
        return
    fi
    same "$what" "$( (($#)) && printf '%s\0' "$@" | show_args)" "$(show_args < "$record")"
    rm -f -- "$record"
}

# Lists NUL-terminated arguments one a line, quoted so that every byte shows.
show_args() { xargs -0 -r printf '%q\n'; }

# The names a selection may hold that have broken menu commands before:
# blanks, both quotes, a backslash, line breaks, a tab, a leading "-", shell
# metacharacters, "%" sequences that launchers expand, non-ASCII text. Beside
# them lies 50ff.txt, which a launcher that expands "%o" would pick instead
# of 50%off.txt.
make_awkward_selection() {
    local dir=$1 name
    awkward_names=("plain.txt" "with blank.txt" "  two  blanks and a trailing one " "it's single"
        'say "double"' 'back\slash\' $'line\nbreak' $'ends in a line break\n' $'tab\there' "-leading-dash"
        "--help" '$HOME `id` $(id) ; & | > <' "percent %F %U %f %D0" "50%off.txt" "%20" "%%" "%F"
        "trailing %" "ünïcödé ✓.txt" "folder with blank")
    mkdir -p "$dir/folder with blank"
    printf 'x' > "$dir/50ff.txt"
    awkward_paths=()
    for name in "${awkward_names[@]}"; do
        [ -e "$dir/$name" ] || printf 'x' > "$dir/$name"
        awkward_paths+=("$dir/$name")
    done
}

# snapshot DIR: everything under DIR with type, mode and content digest or
# link target, to compare a tree before and after.
snapshot() {
    (cd "$1" && find . -printf '%y %m %p %l\n' -type f -exec sha256sum {} + | sort)
}
