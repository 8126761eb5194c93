#!/usr/bin/env bash
# `cpack -G DEB` builds a package whose files and dependencies are the ones
# README.md lists, and whose farsend98-integrate works from /usr.
source "$(dirname "${BASH_SOURCE[0]}")/testlib.sh"

doc="$source_dir/README.md"
out="$scratch/package"
mkdir -p "$out"

# cpack installs the build into its own staging folder under $out, and
# rewrites the build folder's install_manifest.txt on the way.
run_cpack() {
    (cd "$build_dir" && cpack -G DEB -B "$out" --config "$build_dir/CPackConfig.cmake")
}
preserving_manifest run_cpack > "$scratch/cpack.log" 2>&1
status=$?
deb=$(find "$out" -maxdepth 1 -name 'farsend98_*.deb' | head -1)
if [ "$status" -ne 0 ] || [ -z "$deb" ]; then
    fail "cpack -G DEB builds the package" "$(tail -20 "$scratch/cpack.log")"
    finish
    exit 1
fi
ok "cpack -G DEB builds $(basename "$deb")"

# --- files ------------------------------------------------------------------------
# README.md lists them as indented lines starting with /usr/; a line
# ending in / stands for a folder and everything in it.

documented=$(sed -n 's#^    \(/usr/[^ ]*\)$#\1#p' "$doc")
packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }')
if [ -z "$documented" ]; then
    fail "README.md lists the package's files"
fi
undocumented=()
while IFS= read -r file; do
    covered=
    while IFS= read -r entry; do
        case $entry in
            */) [ "${file#"$entry"}" != "$file" ] && covered=1 ;;
            *) [ "$file" = "$entry" ] && covered=1 ;;
        esac
    done <<< "$documented"
    [ -n "$covered" ] || undocumented+=("$file")
done <<< "$packaged"
if [ ${#undocumented[@]} -eq 0 ]; then
    ok "every file in the package is listed in README.md"
else
    fail "every file in the package is listed in README.md" "${undocumented[@]}"
fi
missing=()
while IFS= read -r entry; do
    [ -n "$entry" ] || continue
    grep -qxF -- "$entry" <<< "$packaged" || { case $entry in
        */) grep -q "^$entry" <<< "$packaged" ;;
        *) false ;;
    esac; } || missing+=("$entry")
done <<< "$documented"
if [ ${#missing[@]} -eq 0 ]; then
    ok "every file README.md lists is in the package"
else
    fail "every file README.md lists is in the package" "${missing[@]}"
fi

# --- dependencies ---------------------------------------------------------------
# Package names only: dpkg-shlibdeps picks the versions from the build machine.

names() {
    tr ',' '\n' | sed 's/([^)]*)//; s/^ *//; s/ *$//' | sed '/^$/d' | sort
}
# A sanitizer build links more (the sanitizers' run-time libraries, and the
# libraries that Qt names but a normal build drops): there the documented
# ones must all be present, and the others are only reported.
sanitized=
if readelf -d "$program_built" 2>/dev/null | grep -q 'NEEDED.*lib[a-z]*san\.'; then
    sanitized=1
fi
for field in Depends Recommends; do
    expected=$(sed -n "s/^    $field: //p" "$doc" | head -1 | names)
    actual=$(dpkg-deb -f "$deb" "$field" | names)
    extra=$(comm -13 <(printf '%s\n' "$expected") <(printf '%s\n' "$actual"))
    absent=$(comm -23 <(printf '%s\n' "$expected") <(printf '%s\n' "$actual"))
    if [ -z "$expected" ]; then
        fail "README.md lists the package's $field"
    elif [ -z "$absent" ] && [ -z "$extra" ]; then
        ok "$field: as README.md says ($(echo $actual))"
    elif [ -z "$absent" ] && [ -n "$sanitized" ]; then
        ok "$field: all that README.md says (sanitizer build, also: $(echo $extra))"
    else
        fail "$field: as README.md says" "docs:    $(echo $expected)" "package: $(echo $actual)"
    fi
done

# --- the installed files work from /usr -------------------------------------------

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
check "the packaged desktop entry passes desktop-file-validate" \
    desktop-file-validate "$root/usr/share/applications/farsend98.desktop"
check "the packaged desktop entry starts /usr/bin/farsend98" \
    grep -qxF 'Exec=/usr/bin/farsend98 %F' "$root/usr/share/applications/farsend98.desktop"

# farsend98-integrate finds the program and the templates beside itself,
# wherever the tree is unpacked.
export HOME="$scratch/user"
unset XDG_DATA_HOME XDG_CONFIG_HOME
mkdir -p "$HOME"
check "the packaged farsend98-integrate installs the menus" "$root/usr/bin/farsend98-integrate" install
check "the menus name the packaged program" \
    grep -qxF "Exec=\"$root/usr/bin/farsend98\" %F" "$HOME/.local/share/kio/servicemenus/farsend98-sendto.desktop"
check "the packaged farsend98-integrate removes them" "$root/usr/bin/farsend98-integrate" remove
check "nothing is left in the home folder" test -z "$(ls -A "$HOME")"

finish
