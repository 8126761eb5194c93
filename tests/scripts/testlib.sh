# Shared helpers of the installation tests (sourced, not run).
# Every test script is called as: bash SCRIPT PROGRAM SOURCE_DIR BUILD_DIR

set -u

program_built=$(realpath -- "$1")
source_dir=$(realpath -- "$2")
build_dir=$(realpath -- "$3")

passed=0
failed=0

scratch=$(mktemp -d "${TMPDIR:-/tmp}/farsend98-test.XXXXXX")
cleanup() {
    rm -rf -- "$scratch"
}
trap cleanup EXIT

# Nothing may reach the real home or settings.
export HOME="$scratch/home-unused"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CONFIG_DIRS="$scratch/no-system-config"
mkdir -p "$HOME"

ok() {
    passed=$((passed + 1))
    printf 'ok   - %s\n' "$1"
}

fail() {
    failed=$((failed + 1))
    printf 'FAIL - %s\n' "$1"
    shift
    for line in "$@"; do
        printf '       %s\n' "$line"
    done
}

# check DESCRIPTION COMMAND...: passes when COMMAND succeeds.
check() {
    local what=$1
    shift
    local out
    if out=$("$@" 2>&1); then
        ok "$what"
    else
        fail "$what" "$out"
    fi
}

finish() {
    printf '%d passed, %d failed\n' "$passed" "$failed"
    [ "$failed" -eq 0 ]
}

# preserving_manifest COMMAND...: runs COMMAND (an install from the build
# folder, which rewrites its install_manifest.txt) and puts the manifest back
# as it was: it may list a real installation that someone will want to
# uninstall from it. The build folder is locked meanwhile, so that tests
# running side by side do not restore each other's manifests.
preserving_manifest() {
    local manifest="$build_dir/install_manifest.txt" saved="$scratch/install_manifest.saved"
    (
        flock 9 || exit 1
        rm -f -- "$saved"
        [ -f "$manifest" ] && cp -p -- "$manifest" "$saved"
        "$@"
        status=$?
        if [ -f "$saved" ]; then
            mv -f -- "$saved" "$manifest"
        else
            rm -f -- "$manifest"
        fi
        exit $status
    ) 9< "$build_dir"
}

# cmake --install into PREFIX, output in $scratch/install.log.
install_into() {
    preserving_manifest cmake --install "$build_dir" --prefix "$1" > "$scratch/install.log" 2>&1
}

# install_or_stop PREFIX: installs there, or reports the failure and ends the script.
install_or_stop() {
    if ! install_into "$1"; then
        fail "cmake --install into $1" "$(cat "$scratch/install.log")"
        finish
        exit 1
    fi
}

# make_standin PATH RECORD: a program at PATH that writes its arguments,
# each followed by a NUL byte, to RECORD (complete when RECORD appears).
make_standin() {
    local quoted
    quoted=$(printf '%s' "$2" | sed "s/'/'\\\\''/g")
    cat > "$1" <<EOF
#!/bin/sh
out='$quoted'
for arg do printf '%s\\0' "\$arg"; done > "\$out.partial"
mv -f "\$out.partial" "\$out"
EOF
    chmod 755 "$1"
}

# Lists NUL-terminated arguments one per line, quoted so that every byte shows.
show_args() {
    local arg
    while IFS= read -r -d '' arg; do
        printf '%q\n' "$arg"
    done
}

# expect_record DESCRIPTION RECORD PATH...: waits for RECORD (launchers such
# as gio start the program and return at once) and checks that it holds
# exactly the given arguments in order.
expect_record() {
    local what=$1 record=$2
    shift 2
    local waited=0
    while [ ! -e "$record" ] && [ "$waited" -lt 200 ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    if [ ! -e "$record" ]; then
        fail "$what" "the program was not started"
        return
    fi
    local expected="$scratch/expected.args"
    : > "$expected"
    local arg
    for arg in "$@"; do
        printf '%s\0' "$arg" >> "$expected"
    done
    if cmp -s "$expected" "$record"; then
        ok "$what"
    else
        fail "$what" "$(diff <(show_args < "$expected") <(show_args < "$record"))"
    fi
    rm -f -- "$record"
}

# The names a selection may hold that have broken menu commands before:
# blanks, both quotes, a backslash, a line break, a tab, a leading "-",
# shell and menu-format metacharacters, percent codes, non-ASCII text.
make_awkward_selection() {
    local dir=$1
    mkdir -p "$dir"
    awkward_names=(
        "plain.txt"
        "with blank.txt"
        "  two  blanks and a trailing one "
        "it's single"
        'say "double"'
        'back\slash\'
        $'line\nbreak'
        $'ends in a line break\n'
        $'tab\there'
        "-leading-dash"
        "--help"
        '$HOME `id` $(id) ; & | > <'
        "percent %F %U %f %% %20 %D0"
        "ünïcödé ✓.txt"
        "folder with blank"
    )
    local name
    for name in "${awkward_names[@]}"; do
        if [ "$name" = "folder with blank" ]; then
            mkdir -p -- "$dir/$name"
        else
            printf 'x' > "$dir/$name"
        fi
    done
    awkward_paths=()
    for name in "${awkward_names[@]}"; do
        awkward_paths+=("$dir/$name")
    done
}

# snapshot DIR: a listing of everything under DIR with type, mode, link
# target and content digest, to compare a tree before and after.
snapshot() {
    (cd "$1" && find . -print0 | sort -z | while IFS= read -r -d '' entry; do
        if [ -f "$entry" ] && [ ! -L "$entry" ]; then
            printf '%s %s %s\n' "$(stat -c '%F %a' -- "$entry")" "$entry" "$(sha256sum < "$entry" | cut -c1-16)"
        else
            printf '%s %s %s\n' "$(stat -c '%F %a' -- "$entry")" "$entry" "$(readlink -- "$entry" || true)"
        fi
    done)
}
