#!/usr/bin/env bash
# "Send to Farsend 98" in the file managers: each menu entry, run the way its
# file manager runs it, hands the program every selected path as one
# argument, whatever the names hold; farsend98-integrate installs and removes
# the entries without disturbing anything else in the user's folders.
source "$(dirname "${BASH_SOURCE[0]}")/testlib.sh"

prefix="$scratch/pre fix'q"
install_or_stop "$prefix"
integrate="$prefix/bin/farsend98-integrate"
record="$scratch/record"
# The menus must start the installed program; a stand-in takes its place
# and writes down the arguments it receives.
if ! make_standin "$prefix/bin/farsend98" "$record"; then
    fail "the stand-in takes the installed program's place"
    finish
    exit 1
fi

selection="$scratch/sel dir"
make_awkward_selection "$selection"

# --- entries installed for a user -----------------------------------------------

export HOME="$scratch/user home"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CONFIG_HOME="$HOME/.config"
mkdir -p "$HOME"
check "farsend98-integrate install" "$integrate" install

servicemenu="$XDG_DATA_HOME/kio/servicemenus/farsend98-sendto.desktop"
script="$XDG_DATA_HOME/nautilus/scripts/Send to Farsend 98"
nemo_action="$XDG_DATA_HOME/nemo/actions/farsend98-sendto.nemo_action"
uca="$XDG_CONFIG_HOME/Thunar/uca.xml"

check "desktop-file-validate: the desktop entry" \
    desktop-file-validate "$prefix/share/applications/farsend98.desktop"
check "desktop-file-validate: the Dolphin service menu" desktop-file-validate "$servicemenu"
check "the service menu is executable (Dolphin runs only those)" test -x "$servicemenu"
check "the GNOME Files script is executable" test -x "$script"
check "uca.xml is well-formed XML" xmllint --noout "$uca"

# --- Dolphin and the desktop entry: %F as the Desktop Entry format defines it ----
# gio launch is GLib's implementation of that format's Exec rules, the same
# rules KIO follows: each path one argument.

same_exec() {
    [ "$(grep -c '^Exec=' "$1")" -eq 2 ] && [ "$(grep '^Exec=' "$1" | sort -u | wc -l)" -eq 1 ]
}
check "the service menu's action runs the same command as its main group" same_exec "$servicemenu"
gio launch "$servicemenu" "${awkward_paths[@]}"
expect_record "Dolphin service menu (Exec ... %F) passes every path as it is" "$record" "${awkward_paths[@]}"

gio launch "$prefix/share/applications/farsend98.desktop" "${awkward_paths[@]}"
expect_record "desktop entry (Exec ... %F) passes every path as it is" "$record" "${awkward_paths[@]}"

# --- GNOME Files: the script's own arguments, relative to its working folder ----
# GNOME Files runs the script in the folder it shows, with the names relative
# to it; items outside that folder (search results) come as absolute paths.

real_selection=$(cd "$selection" && pwd -P)
relative=()
expected=()
for name in "${awkward_names[@]}"; do
    relative+=("$name")
    expected+=("$real_selection/$name")
done
mkdir -p "$selection/folder with blank/-inner dir"
relative+=("folder with blank/-inner dir")
expected+=("$real_selection/folder with blank/-inner dir")
elsewhere="$scratch/elsewhere file"
: > "$elsewhere"
relative+=("$elsewhere")
expected+=("$elsewhere")
(cd "$selection" && "$script" "${relative[@]}")
expect_record "GNOME Files script makes every name absolute and passes it as it is" "$record" "${expected[@]}"

(cd / && "$script" tmp)
expect_record "GNOME Files script in the root folder" "$record" "/tmp"

# --- Nemo: its expansion of %U with Quote=double, then GLib's shell parsing -----
# Nemo replaces %U by the selection's addresses, each in the Quote characters,
# separated by blanks, and runs the line through g_spawn_command_line_async,
# which splits it with g_shell_parse_argv. The same split is had here by
# handing the expanded line to gio as the Exec line of a desktop entry with
# no field codes (every % doubled, key-file escapes kept as they are).

nemo_exec=$(sed -n 's/^Exec=//p' "$nemo_action")
case $(sed -n 's/^Quote=//p' "$nemo_action") in
    double) quote='"' ;;
    single) quote="'" ;;
    backtick) quote='`' ;;
    *) quote= ;;
esac
uris=()
for path in "${awkward_paths[@]}"; do
    uris+=("$(gio info -- "$path" | sed -n 's/^uri: //p')")
done
uri_list=""
for uri in "${uris[@]}"; do
    uri_list+="${uri_list:+ }$quote$uri$quote"
done
# (Split by hand: bash's own ${x/pattern/text} gives "&" a meaning in text.)
expanded=${nemo_exec%%"%U"*}$uri_list${nemo_exec#*"%U"}
{
    printf '[Desktop Entry]\nType=Application\nName=Nemo action as spawned\n'
    printf 'Exec=%s\n' "${expanded//%/%%}"
} > "$scratch/nemo-spawn.desktop"
gio launch "$scratch/nemo-spawn.desktop"
expect_record "Nemo action (%U and its Quote) passes every path as it is" "$record" "${awkward_paths[@]}"

helper="$prefix/share/farsend98/integrations/nemo/farsend98-nemo-open"
"$helper" "$prefix/bin/farsend98" "file://localhost$real_selection/with%20blank.txt"
expect_record "Nemo helper accepts file://localhost/ addresses" "$record" "$real_selection/with blank.txt"
"$helper" "$prefix/bin/farsend98"
expect_record "Nemo helper with no address starts the program with none" "$record"
check "Nemo helper refuses an address that is not a local file" \
    bash -c '! "$1" "$2" "sftp://host/file" 2>/dev/null && [ ! -e "$3" ]' _ "$helper" "$prefix/bin/farsend98" "$record"

# --- Thunar: its expansion of %F, then /bin/sh -c ------------------------------
# Thunar replaces %F by the paths, each quoted with g_shell_quote ('...' with
# ' written '\''), separated by blanks, turns %% into %, and runs the line
# with /bin/sh -c.

g_shell_quote() {
    local s=$1
    printf "'%s'" "${s//\'/\'\\\'\'}"
}
thunar_expand() {
    local template=$1 out="" i c
    shift
    for ((i = 0; i < ${#template}; i++)); do
        c=${template:i:1}
        if [ "$c" = "%" ] && [ $((i + 1)) -lt ${#template} ]; then
            i=$((i + 1))
            case ${template:i:1} in
                F)
                    local first=1 path
                    for path in "$@"; do
                        [ $first -eq 1 ] || out+=" "
                        out+=$(g_shell_quote "$path")
                        first=0
                    done
                    ;;
                %) out+="%" ;;
            esac
        else
            out+=$c
        fi
    done
    printf '%s' "$out"
}
thunar_command=$(xmllint --xpath 'string(//action[unique-id="farsend98-send-to"]/command)' "$uca")
/bin/sh -c "$(thunar_expand "$thunar_command" "${awkward_paths[@]}")"
expect_record "Thunar action (%F) passes every path as it is" "$record" "${awkward_paths[@]}"
check "Thunar action offers itself for every kind of item" \
    bash -c 'for kind in directories audio-files image-files other-files text-files video-files; do
                 xmllint --xpath "//action[unique-id=\"farsend98-send-to\"]/$kind" "$1" > /dev/null || exit 1
             done
             [ "$(xmllint --xpath "string(//action[unique-id=\"farsend98-send-to\"]/patterns)" "$1")" = "*" ]' _ "$uca"

# --- installing and removing leaves the user's folders as they were ------------

make_user_tree() {
    local home=$1
    mkdir -p "$home/.config/Thunar" "$home/.local/share/nautilus/scripts" \
        "$home/.local/share/kio/servicemenus" "$home/.local/share/nemo/actions"
    printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' '<actions>' '<action>' \
        $'\t<icon>utilities-terminal</icon>' $'\t<name>Open Terminal Here</name>' \
        $'\t<unique-id>1589640326553914-1</unique-id>' \
        $'\t<command>exo-open --working-directory %f --launch TerminalEmulator</command>' \
        $'\t<description>Example for a custom action</description>' $'\t<patterns>*</patterns>' \
        $'\t<startup-notify/>' $'\t<directories/>' '</action>' '<action>' \
        $'\t<icon>edit-find</icon>' $'\t<name>Search &amp; &lt;find&gt;</name>' \
        $'\t<unique-id>1589640326553915-2</unique-id>' \
        $'\t<command>catfish --path=%f</command>' $'\t<description></description>' \
        $'\t<patterns>*</patterns>' $'\t<directories/>' '</action>' '</actions>' > "$home/.config/Thunar/uca.xml"
    chmod 600 "$home/.config/Thunar/uca.xml"
    printf '#!/bin/sh\necho mine\n' > "$home/.local/share/nautilus/scripts/My script"
    chmod 700 "$home/.local/share/nautilus/scripts/My script"
    printf '[Desktop Entry]\nType=Service\n' > "$home/.local/share/kio/servicemenus/other.desktop"
    printf '[Nemo Action]\nName=Other\n' > "$home/.local/share/nemo/actions/other.nemo_action"
}

count_ours() {
    grep -c '<unique-id>farsend98-send-to</unique-id>' "$1"
}

# A user with folders and Thunar actions of their own (and a "%" in the
# home folder's name, which only a menu command line could not carry).
export HOME="$scratch/existing 100% home"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CONFIG_HOME="$HOME/.config"
make_user_tree "$HOME"
before=$(snapshot "$HOME")
"$integrate" install > /dev/null
after_first=$(snapshot "$HOME")
"$integrate" install > /dev/null
after_second=$(snapshot "$HOME")
check "a second install changes nothing" test "$after_first" = "$after_second"
check "uca.xml holds the action once after two installs" test "$(count_ours "$HOME/.config/Thunar/uca.xml")" -eq 1
check "uca.xml stays well-formed with the user's actions" xmllint --noout "$HOME/.config/Thunar/uca.xml"
check "the user's Thunar actions are kept" \
    test "$(xmllint --xpath 'count(//action)' "$HOME/.config/Thunar/uca.xml")" -eq 3
check "uca.xml keeps its mode" test "$(stat -c %a "$HOME/.config/Thunar/uca.xml")" = 600
"$integrate" remove > /dev/null
after_remove=$(snapshot "$HOME")
if [ "$before" = "$after_remove" ]; then
    ok "install, install, remove: the user's folders are as they were"
else
    fail "install, install, remove: the user's folders are as they were" \
        "$(diff <(printf '%s\n' "$before") <(printf '%s\n' "$after_remove"))"
fi
"$integrate" remove > /dev/null
check "a second remove changes nothing" test "$(snapshot "$HOME")" = "$before"

# Thunar rewrites uca.xml in its own layout when the user edits actions; the
# entry is still found by its unique-id.
"$integrate" install > /dev/null
sed -i 's/^\t<name>Send to Farsend 98</\t<name>Send elsewhere</; s/^\t//' "$HOME/.config/Thunar/uca.xml"
"$integrate" remove > /dev/null
check "an entry edited in Thunar is still removed" \
    test "$(xmllint --xpath 'count(//action)' "$HOME/.config/Thunar/uca.xml")" -eq 2
check "the edited file stays well-formed" xmllint --noout "$HOME/.config/Thunar/uca.xml"

# A new user: nothing exists yet; Thunar would show the system's actions.
export HOME="$scratch/new home"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_CONFIG_DIRS="$scratch/system config:/nonexistent"
mkdir -p "$HOME" "$scratch/system config/Thunar"
printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' '<actions>' '<action>' \
    $'\t<icon>utilities-terminal</icon>' $'\t<name>System action</name>' \
    $'\t<unique-id>1-1</unique-id>' $'\t<command>true %f</command>' \
    $'\t<patterns>*</patterns>' '</action>' '</actions>' > "$scratch/system config/Thunar/uca.xml"
before=$(snapshot "$HOME")
"$integrate" install > /dev/null
check "a new uca.xml starts from the system's actions" \
    test "$(xmllint --xpath 'count(//action[unique-id="1-1"])' "$HOME/.config/Thunar/uca.xml")" -eq 1
check "a new uca.xml holds the action" test "$(count_ours "$HOME/.config/Thunar/uca.xml")" -eq 1
"$integrate" install > /dev/null
"$integrate" remove > /dev/null
after_remove=$(snapshot "$HOME")
if [ "$before" = "$after_remove" ]; then
    ok "new user: install, install, remove leaves the home folder empty again"
else
    fail "new user: install, install, remove leaves the home folder empty again" \
        "$(diff <(printf '%s\n' "$before") <(printf '%s\n' "$after_remove"))"
fi

# Called through a link from another folder (as from /usr/local/bin), the
# tool still finds the program beside its real self.
export HOME="$scratch/link user"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CONFIG_HOME="$HOME/.config"
mkdir -p "$HOME" "$scratch/links"
ln -s "$integrate" "$scratch/links/farsend98-integrate"
"$scratch/links/farsend98-integrate" install > /dev/null
check "called through a link, the entries name the installed program" \
    grep -qxF "Exec=\"$prefix/bin/farsend98\" %F" "$XDG_DATA_HOME/kio/servicemenus/farsend98-sendto.desktop"
(cd "$scratch/links" && PATH="$scratch/links:$PATH" farsend98-integrate remove > /dev/null)
check "called from the PATH, remove takes everything out" test -z "$(ls -A "$HOME")"

# A uca.xml that is no Thunar action list is left alone, with a message.
export HOME="$scratch/odd home"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CONFIG_HOME="$HOME/.config"
mkdir -p "$HOME/.config/Thunar"
printf 'not xml at all\n' > "$HOME/.config/Thunar/uca.xml"
if "$integrate" install > "$scratch/odd.log" 2>&1; then
    fail "an unusable uca.xml makes install fail" "$(cat "$scratch/odd.log")"
else
    check "an unusable uca.xml makes install fail and is left as it was" \
        test "$(cat "$HOME/.config/Thunar/uca.xml")" = "not xml at all"
fi
check "no temporary file is left beside uca.xml" \
    test "$(find "$HOME/.config/Thunar" -type f | wc -l)" -eq 1

# A uca.xml kept elsewhere and linked into place stays a link.
export HOME="$scratch/linked home"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CONFIG_HOME="$HOME/.config"
mkdir -p "$HOME/.config/Thunar" "$HOME/dotfiles"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<actions>\n</actions>\n' > "$HOME/dotfiles/uca.xml"
ln -s ../../dotfiles/uca.xml "$HOME/.config/Thunar/uca.xml"
before=$(snapshot "$HOME")
"$integrate" install > /dev/null
check "a linked uca.xml stays a link" test -L "$HOME/.config/Thunar/uca.xml"
check "the linked file gets the action" test "$(count_ours "$HOME/dotfiles/uca.xml")" -eq 1
"$integrate" remove > /dev/null
check "a linked uca.xml is as it was after remove" test "$(snapshot "$HOME")" = "$before"

finish
