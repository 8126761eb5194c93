#!/usr/bin/env bash
# `cmake --install` into a prefix writes sound entries (desktop entry,
# AppStream metainfo) naming the installed program, and the build folder's
# uninstall.sh takes out exactly what the install put in place, folders
# included, also after a second install.
source "$(dirname "${BASH_SOURCE[0]}")/testlib.sh"

# The prefix lies below a folder the install must create, beside one the
# install finds (and must leave), with a blank and a quote in its path.
parent="$scratch/parent"
prefix="$parent/new folder/pre fix'q"
mkdir -p "$parent/kept" "$prefix/share/applications"
touch "$prefix/share/applications/someone-elses.desktop"
before=$(snapshot "$parent")

install_then_uninstall() {
    cmake --install "$build_dir" --prefix "$prefix" > "$scratch/install.log" 2>&1 &&
        cmake --install "$build_dir" --prefix "$prefix" >> "$scratch/install.log" 2>&1 || return 1
    cp -r -- "$prefix" "$scratch/installed"
    "$build_dir/uninstall.sh" > "$scratch/uninstall.log" 2>&1
}
if ! preserving_manifest install_then_uninstall; then
    fail "cmake --install twice, then uninstall.sh" "$(cat "$scratch/install.log" "$scratch/uninstall.log")"
    finish
    exit 1
fi
same "uninstall.sh leaves the folders as they were before the install" "$before" "$(snapshot "$parent")"

installed="$scratch/installed"
desktop="$installed/share/applications/farsend98.desktop"
check "desktop-file-validate passes on the desktop entry" desktop-file-validate "$desktop"
same "the desktop entry names the installed program" "Exec=\"$prefix/bin/farsend98\" %F" "$(grep '^Exec=' "$desktop")"
check "appstreamcli validates the metainfo" \
    appstreamcli validate --no-net "$installed/share/metainfo/org.farsend98.Farsend98.metainfo.xml"
check "the metainfo's desktop entry is installed" test -f "$installed/share/applications/$(
    xmllint --xpath 'string(//launchable[@type="desktop-id"])' "$installed"/share/metainfo/*.xml)"
check "the package's own files stay out of a plain install" \
    test ! -e "$installed/share/doc" -a ! -e "$installed/share/kio" -a ! -e "$installed/share/nemo"

finish
