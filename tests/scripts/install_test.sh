#!/usr/bin/env bash
# `cmake --install` into a prefix puts the program, its icon, desktop entry,
# help page, menu templates and farsend98-integrate in place, and the
# installed program starts.
source "$(dirname "${BASH_SOURCE[0]}")/testlib.sh"

# A prefix with a blank and a quote: every file written at install time must
# still name the program correctly.
prefix="$scratch/pre fix'q"
install_or_stop "$prefix"
ok "cmake --install into a prefix"

for file in bin/farsend98 bin/farsend98-integrate \
    share/farsend98/integrations/nemo/farsend98-nemo-open; do
    check "$file is installed and executable" test -f "$prefix/$file" -a -x "$prefix/$file"
done
for file in share/applications/farsend98.desktop \
    share/icons/hicolor/scalable/apps/farsend98.svg \
    share/farsend98/FSHelp/index.html \
    share/farsend98/integrations/dolphin/farsend98-sendto.desktop.in \
    share/farsend98/integrations/nautilus/send-to-farsend98.sh.in \
    share/farsend98/integrations/nemo/farsend98-sendto.nemo_action.in \
    share/farsend98/integrations/thunar/farsend98-action.xml.in; do
    check "$file is installed" test -f "$prefix/$file"
done

desktop="$prefix/share/applications/farsend98.desktop"
check "desktop-file-validate passes on the desktop entry" desktop-file-validate "$desktop"
check "the desktop entry names the installed program" \
    grep -qxF "Exec=\"$prefix/bin/farsend98\" %F" "$desktop"
check "the desktop entry stays out of the application menus" grep -qx 'NoDisplay=true' "$desktop"
check "the desktop entry claims no file types" bash -c '! grep -q "^MimeType" "$1"' _ "$desktop"
check "the installed help page is the source's" cmp "$source_dir/help/FSHelp/index.html" \
    "$prefix/share/farsend98/FSHelp/index.html"

# The installed program starts on an existing file and stays up (its window
# waits for the user) until timeout ends it.
work="$scratch/work"
mkdir -p "$work"
printf 'hello\n' > "$work/report.txt"
QT_QPA_PLATFORM=offscreen timeout 5 "$prefix/bin/farsend98" "$work/report.txt" \
    > "$scratch/run.log" 2>&1
status=$?
if [ "$status" -eq 124 ]; then
    ok "the installed program starts offscreen and stays up"
else
    fail "the installed program starts offscreen and stays up" "exit status $status" \
        "$(head -20 "$scratch/run.log")"
fi

check "farsend98-integrate --help" "$prefix/bin/farsend98-integrate" --help
check "farsend98-integrate refuses an unknown command" \
    bash -c '! "$1" frobnicate 2>/dev/null' _ "$prefix/bin/farsend98-integrate"

# A menu line cannot name a program whose path holds "%": farsend98-integrate
# says so and writes nothing.
odd_prefix="$scratch/100% odd"
if install_into "$odd_prefix"; then
    export HOME="$scratch/odd home"
    mkdir -p "$HOME"
    unset XDG_DATA_HOME XDG_CONFIG_HOME
    if "$odd_prefix/bin/farsend98-integrate" install > "$scratch/odd.log" 2>&1; then
        fail "farsend98-integrate refuses a program path with %" "$(cat "$scratch/odd.log")"
    else
        check "farsend98-integrate refuses a program path with % and writes nothing" \
            test -z "$(ls -A "$HOME")"
        check "farsend98-integrate says why" grep -q 'holds a line break or "%"' "$scratch/odd.log"
    fi
else
    fail "cmake --install into $odd_prefix" "$(cat "$scratch/install.log")"
fi

finish
