#!/usr/bin/env bash
# `cmake --install` into a prefix writes sound AppStream metainfo, and the
# build folder's uninstall.sh takes out exactly what the install put in
# place, folders included, also after a second install. (lintian checks the
# desktop entry in deb_test; that it starts the installed program with every
# path as it is, integrations_test shows.)
source "$(dirname "${BASH_SOURCE[0]}")/testlib.sh"

# The prefix lies below a folder the install must create, beside one the
# install finds (and must leave), with a blank and a quote in its path.
parent="$scratch/parent"
prefix="$parent/new folder/pre fix'q"
mkdir -p "$parent/kept" "$prefix/share/applications"
touch "$prefix/share/applications/someone-elses.desktop"
before=$(snapshot "$parent")
installed="$scratch/installed"
install_then_uninstall() {
    cmake --install "$build_dir" --prefix "$prefix" && cmake --install "$build_dir" --prefix "$prefix" &&
        cp -r -- "$prefix" "$installed" && "$build_dir/uninstall.sh"
}
or_stop "cmake --install twice, then uninstall.sh" preserving_manifest install_then_uninstall
same "uninstall.sh leaves the folders as they were before the install" "$before" "$(snapshot "$parent")"

check "appstreamcli validates the metainfo" \
    appstreamcli validate --no-net "$installed/share/metainfo/org.farsend98.Farsend98.metainfo.xml"
check "the metainfo's desktop entry is installed" test -f "$installed/share/applications/$(
    xmllint --xpath 'string(//launchable[@type="desktop-id"])' "$installed"/share/metainfo/*.xml)"
check "the package's own files stay out of a plain install" \
    test ! -e "$installed/share/doc" -a ! -e "$installed/share/kio" -a ! -e "$installed/share/nemo"

finish
