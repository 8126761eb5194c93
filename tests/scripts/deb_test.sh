#!/usr/bin/env bash
# `cpack -G DEB` builds a package that lintian passes, whose files and
# dependencies are the ones README.md lists, whose Dolphin and Nemo entries
# serve every user, and which leaves the build folder's install records alone.
source "$(dirname "${BASH_SOURCE[0]}")/testlib.sh"

doc="$source_dir/README.md"
records() { cat "$build_dir"/install_manifest.txt "$build_dir"/install_folders.txt 2>/dev/null | sha256sum; }
package() {
    records > "$scratch/records.before"
    (cd "$build_dir" && cpack -G DEB -B "$scratch/package") && records > "$scratch/records.after"
}
or_stop "cpack -G DEB builds the package" locked package
deb=$(echo "$scratch"/package/farsend98_*.deb)
same "cpack leaves install_manifest.txt and install_folders.txt as they were" \
    "$(cat "$scratch/records.before")" "$(cat "$scratch/records.after")"

# A sanitizer build links the sanitizers' run-time libraries and is built
# without the hardening flags: its package is only compared with README.md.
sanitized=$(readelf -d "$1" | grep 'NEEDED.*lib[a-z]*san\.')
if [ -n "$sanitized" ]; then
    skip "lintian" "sanitizer build"
else
    check "lintian finds no error or warning" lintian --fail-on error,warning --tag-display-limit 0 "$deb"
fi

# README.md lists the files as indented lines starting with /usr/; one ending
# in / stands for a folder and everything in it.
packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort)
listed=$(sed -n 's#^    \(/usr/[^ ]*\)$#\1#p' "$doc")
covered=$({ grep -v '/$' <<< "$listed"; grep -F -f <(grep '/$' <<< "$listed") <<< "$packaged"; } | sort -u)
same "the package holds exactly the files README.md lists" "$covered" "$packaged"

# Package names only: dpkg-shlibdeps picks the versions from the build machine.
names() { tr ',' '\n' | sed 's/([^)]*)//; s/^ *//; s/ *$//; /^$/d' | sort; }
for field in Depends Recommends; do
    expected=$(sed -n "s/^    $field: //p" "$doc" | head -1 | names)
    actual=$(dpkg-deb -f "$deb" "$field" | names)
    [ -n "$sanitized" ] && actual=$(comm -12 <(echo "$expected") <(echo "$actual"))
    same "$field: as README.md says" "$expected" "$actual"
done

# The entries for every user name the packaged program and helper.
root="$scratch/root"
dpkg-deb -x "$deb" "$root"
servicemenu="$root/usr/share/kio/servicemenus/farsend98-sendto.desktop"
same "the entries start /usr/bin/farsend98" "$(printf 'Exec=%s\n' '/usr/bin/farsend98 %F' '/usr/bin/farsend98 %F' \
    '/usr/bin/farsend98 %F' '/usr/share/farsend98/integrations/farsend98-open-uris /usr/bin/farsend98 %U')" \
    "$(grep -h '^Exec=' "$root"/usr/share/applications/farsend98.desktop "$servicemenu" "$root"/usr/share/nemo/actions/*)"

# With those in place, farsend98-integrate writes GNOME Files' and Thunar's
# entries only (wherever the tree is unpacked, it finds the program beside
# itself).
export HOME="$scratch/user" XDG_DATA_HOME="$scratch/user/.local/share" XDG_CONFIG_HOME="$scratch/user/.config"
mkdir -p "$XDG_DATA_HOME/kio/servicemenus"
printf '[Desktop Entry]\n' > "$XDG_DATA_HOME/kio/servicemenus/farsend98-sendto.desktop"
check "the packaged farsend98-integrate installs" "$root/usr/bin/farsend98-integrate" install
same "the packaged farsend98-integrate writes GNOME Files' and Thunar's entries, and drops a Dolphin one" \
    "$(printf '%s\n' ./.config/Thunar/uca.xml "./.local/share/nautilus/scripts/Send to Farsend 98")" \
    "$(cd "$HOME" && find . -type f ! -path './.local/share/farsend98/*' | sort)"

finish
