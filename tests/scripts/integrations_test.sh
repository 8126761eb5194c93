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
# The menus must start the installed program; a stand-in takes its place.
make_standin "$prefix/bin/farsend98" "$record"

# The names a selection may hold that have broken menu commands before:
# blanks, both quotes, a backslash, line breaks, a tab, a leading "-", shell
# metacharacters, "%" sequences that launchers expand, non-ASCII text. Among
# them is 50ff.txt, which a launcher that expands "%o" would hand over in
# place of 50%off.txt.
selection=$(mkdir "$scratch/sel dir" && cd "$scratch/sel dir" && pwd -P)
mkdir "$selection/folder with blank"
paths=() uris=()
for name in "plain.txt" "with blank.txt" "  two  blanks and a trailing one " "it's single" 'say "double"' \
    'back\slash\' $'line\nbreak' $'ends in a line break\n' $'tab\there' "-leading-dash" "--help" \
    '$HOME `id` $(id) ; & | > <' "percent %F %U %f %D0" "50%off.txt" "50ff.txt" "%20" "%%" "%F" "trailing %" \
    "ünïcödé ✓.txt" "folder with blank"; do
    [ -e "$selection/$name" ] || printf 'x' > "$selection/$name"
    paths+=("$selection/$name")
    uris+=("$(gio info -- "${paths[-1]}" | sed -n 's/^uri: //p')")
done

use_home() {
    export HOME=$1 XDG_DATA_HOME="$1/.local/share" XDG_CONFIG_HOME="$1/.config"
    mkdir -p "$HOME"
    uca="$XDG_CONFIG_HOME/Thunar/uca.xml"
}
use_home "$scratch/user home"
check "farsend98-integrate install" "$integrate" install
servicemenu="$XDG_DATA_HOME/kio/servicemenus/farsend98-sendto.desktop"
script="$XDG_DATA_HOME/nautilus/scripts/Send to Farsend 98"
check "the Dolphin entry is valid and executable (Dolphin runs only those)" \
    sh -c 'desktop-file-validate "$1" && test -x "$1" -a -x "$2"' sh "$servicemenu" "$script"

# Dolphin and the desktop entry: %F as GLib's gio launch expands it, by the
# Desktop Entry rules that KIO follows too.
for entry in "$servicemenu" "$prefix/share/applications/farsend98.desktop"; do
    gio launch "$entry" "${paths[@]}"
    expect_record "${entry##*/} (Exec ... %F) passes every path as it is" "$record" "${paths[@]}"
done

# GNOME Files: the exact addresses, one a line, beside arguments in which
# "%" sequences were expanded ("50%off.txt" became another file's name).
(cd "$selection" && NAUTILUS_SCRIPT_SELECTED_URIS=$(printf '%s\n' "${uris[@]}") "$script" 50ff.txt)
expect_record "GNOME Files script passes every path as it is, from its addresses" "$record" "${paths[@]}"
(cd / && NAUTILUS_SCRIPT_SELECTED_URIS= "$script" tmp)
expect_record "GNOME Files script with no address starts the program with none" "$record"

# Nemo puts the addresses for %U, each in its Quote characters, into the
# line and splits it with g_shell_parse_argv; gio gives the same split for a
# desktop entry whose Exec line is the expanded one (every % doubled).
nemo_exec=$(sed -n 's/^Exec=//p' "$XDG_DATA_HOME/nemo/actions/farsend98-sendto.nemo_action")
quote=$(sed -n 's/^Quote=double$/"/p; s/^Quote=single$/'"'"'/p' "$XDG_DATA_HOME/nemo/actions/farsend98-sendto.nemo_action")
list=$(printf " $quote%s$quote" "${uris[@]}")
expanded=${nemo_exec%%"%U"*}${list# }${nemo_exec#*"%U"}
printf '[Desktop Entry]\nType=Application\nName=Nemo\nExec=%s\n' "${expanded//%/%%}" > "$scratch/nemo.desktop"
gio launch "$scratch/nemo.desktop"
expect_record "Nemo action (%U and its Quote) passes every path as it is" "$record" "${paths[@]}"

helper="$prefix/share/farsend98/integrations/farsend98-open-uris"
"$helper" "$prefix/bin/farsend98" "file://localhost$selection/with%20blank.txt"
expect_record "the helper accepts file://localhost/ addresses" "$record" "$selection/with blank.txt"
check "the helper refuses an address that is not a local file, and starts nothing" \
    sh -c '! "$1" "$2" "sftp://host/file" 2>/dev/null && [ ! -e "$3" ]' sh "$helper" "$prefix/bin/farsend98" "$record"

# Thunar expands its action's command (%F: the paths, each quoted by
# g_shell_quote, '...' with ' as '\'', separated by blanks; "%%": one "%";
# any other "%x": nothing) and runs the line with /bin/sh -c.
thunar_run() { # COMMAND PATH...
    local rest=$1 line='' list
    shift
    list=$(for path do printf " '%s'" "${path//\'/\'\\\'\'}"; done)
    while [[ $rest =~ ^([^%]*)%(.)(.*)$ ]]; do
        line+=${BASH_REMATCH[1]}
        case ${BASH_REMATCH[2]} in F) line+=${list# } ;; %) line+=% ;; esac
        rest=${BASH_REMATCH[3]}
    done
    /bin/sh -c "$line$rest"
}
thunar_command() { xmllint --xpath 'string(//action[unique-id="farsend98-send-to"]/command)' "$uca"; }
thunar_run "$(thunar_command)" "${paths[@]}"
expect_record "Thunar action (%F) passes every path as it is" "$record" "${paths[@]}"

# --- installing and removing leaves the user's folders as they were ------------

actions() { xmllint --xpath "count(//action${1-})" "$uca"; }
# install, install, remove, remove, with the tool called as TOOL: after the
# first install the second changes nothing, and the removals leave the
# folders as they were.
install_twice_remove_twice() { # WHAT ACTIONS [TOOL]
    local what=$1 tool=${3:-$integrate} before after_first
    before=$(snapshot "$HOME")
    "$tool" install > /dev/null
    after_first=$(snapshot "$HOME")
    "$tool" install > /dev/null
    same "$what: a second install changes nothing" "$after_first" "$(snapshot "$HOME")"
    same "$what: Thunar's actions once ours, then the user's" "$2 1" "$(actions) $(actions '[unique-id="farsend98-send-to"]')"
    "$tool" remove > /dev/null && "$tool" remove > /dev/null
    same "$what: removing twice leaves the folders as they were" "$before" "$(snapshot "$HOME")"
}

# A user with menu entries and Thunar actions of their own (one named with
# markup), with a "%" in the home folder's name.
use_home "$scratch/existing 100% home"
mkdir -p "$XDG_CONFIG_HOME/Thunar" "$XDG_DATA_HOME/nautilus/scripts" "$XDG_DATA_HOME/nemo/actions"
printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' '<actions>' \
    '<action><name>Open Terminal Here</name><unique-id>1-1</unique-id></action>' \
    '<action><name>Search &amp; &lt;find&gt;</name></action>' '</actions>' > "$uca"
chmod 600 "$uca"
printf '#!/bin/sh\n' > "$XDG_DATA_HOME/nautilus/scripts/My script"
printf '[Nemo Action]\nName=Other\n' > "$XDG_DATA_HOME/nemo/actions/other.nemo_action"
install_twice_remove_twice "a user with actions of their own" 3

# Thunar rewrites uca.xml in its own layout when the user edits actions; the
# entry is still found by its unique-id.
"$integrate" install > /dev/null
sed -i 's/^\t<name>Send to Farsend 98</\t<name>Send elsewhere</; s/^\t//' "$uca"
"$integrate" remove > /dev/null
same "an entry edited in Thunar is still removed" "2" "$(actions)"

# A new user, whose Thunar would show the system's actions; a uca.xml kept
# elsewhere and linked into place, which stays a link, with the tool called
# through a link from another folder (as from /usr/local/bin): it finds the
# program beside its real self.
use_home "$scratch/new home"
export XDG_CONFIG_DIRS="$scratch/system config:/nonexistent"
mkdir -p "$scratch/system config/Thunar"
printf '%s\n' '<actions>' '<action><name>System action</name></action>' \
    '<action><name>Another one</name></action>' '</actions>' > "$scratch/system config/Thunar/uca.xml"
install_twice_remove_twice "a new user" 3
use_home "$scratch/linked home"
mkdir -p "$XDG_CONFIG_HOME/Thunar" "$HOME/dotfiles"
printf '<actions>\n</actions>\n' > "$HOME/dotfiles/uca.xml"
ln -s ../../dotfiles/uca.xml "$uca"
ln -s "$integrate" "$scratch/farsend98-integrate"
install_twice_remove_twice "a linked uca.xml and tool" 1 "$scratch/farsend98-integrate"

# A uca.xml that is no Thunar action list is left as it is, and a program
# whose path holds "%" (a menu line cannot carry it) gets no entries.
use_home "$scratch/odd home"
mkdir -p "$XDG_CONFIG_HOME/Thunar"
printf 'not xml at all\n' > "$uca"
before=$(snapshot "$XDG_CONFIG_HOME")
"$integrate" install > /dev/null 2>&1
same "install fails on an unusable uca.xml and leaves it as it was" "1 $before" "$? $(snapshot "$XDG_CONFIG_HOME")"
use_home "$scratch/odd user"
cp -r -- "$prefix" "$scratch/100% odd"
"$scratch/100% odd/bin/farsend98-integrate" install > /dev/null 2>&1
same "install fails for a program path with % and writes no entries" "1 " "$? $(ls -A "$HOME")"

# --- entries left behind by a removed program -------------------------------------

# Farsend 98 removed before "farsend98-integrate remove": GNOME Files' script
# and Thunar's action tell the user where it is seen that Farsend 98 is not
# installed, and how to take the entry out: in a notification where a
# notification service answers (gdbus, else notify-send), else in a dialog
# where there is a display (zenity, kdialog; xmessage on X only), and always
# on stderr. The home's "%" must reach Thunar's command as "%%".
use_home "$scratch/left 100% behind"
gone="$scratch/removed prefix"
cp -r -- "$prefix" "$gone"
"$gone/bin/farsend98-integrate" install > /dev/null
rm -rf -- "$gone"
script="$XDG_DATA_HOME/nautilus/scripts/Send to Farsend 98"
said="\"Send to Farsend 98\" cannot start $gone/bin/farsend98: it is no longer there."
declare -A how=(
    ["GNOME Files"]="To take \"Send to Farsend 98\" out of this menu, delete the file \"$script\"."
    [Thunar]="To take \"Send to Farsend 98\" out of this menu, open Edit > Configure custom actions... in Thunar")

# standin_tool DIR NAME STATUS: a tool that notes "== NAME", its arguments and
# what it reads (xmessage -file -) in DIR/calls, and ends with STATUS; gdbus
# names a notification service without markup.
standin_tool() {
    cat > "$1/bin/$2" <<EOF
#!/bin/sh
{ echo "== $2"; printf '%s\n' "\$@"; case "\$*" in *"-file -"*) $(command -v cat) ;; esac; } >> '$1/calls'
case "\$*" in *GetCapabilities*) echo "(['body'],)" ;; esac
exit $3
EOF
    chmod 755 "$1/bin/$2"
}
# Runs ENTRY with only the tools in DIR/bin; its stderr goes to DIR/stderr.
run_entry() { # ENTRY DIR DISPLAY
    local env=(env -u DISPLAY -u WAYLAND_DISPLAY ${3:+"$3"} PATH="$2/bin")
    if [ "$1" = Thunar ]; then
        "${env[@]}" "$BASH" -c "$(declare -f thunar_run); thunar_run \"\$1\" \"\$2\"" thunar "$(thunar_command)" \
            "$selection/plain.txt"
    else
        (cd "$selection" && "${env[@]}" NAUTILUS_SCRIPT_SELECTED_URIS="${uris[0]}" "$script" plain.txt)
    fi 2> "$2/stderr"
}
# Each row: the tools present with their exit status | the display | the tools called.
row=0
while IFS='|' read -r tools display called; do
    row=$((row + 1))
    for entry in "GNOME Files" Thunar; do
        dir="$scratch/gone $row $entry"
        mkdir -p "$dir/bin" && : > "$dir/calls"
        for tool in sed awk fold; do ln -s "$(command -v "$tool")" "$dir/bin/$tool"; done
        for tool in $tools; do standin_tool "$dir" "${tool%:*}" "${tool#*:}"; done
        run_entry "$entry" "$dir" "$display"
        # What the last tool was given, lines joined as a dialog wraps them.
        shown=$(awk '/^== / { text = "" } !/^== / { text = text $0 } END { print text }' "$dir/calls" | sed 's/\\"/"/g')
        same "$entry, program gone, with ${tools:-no tools} ${display:-and no display}: ${called:-nothing} shows it" \
            "${called} | 1 1 | 1 1" "$(sed -n 's/^== //p' "$dir/calls" | xargs) | \
$(grep -c -F -e "$said" "$dir/stderr") $(grep -c -F -e "${how[$entry]}" "$dir/stderr") | \
$([ -z "$called" ] && echo "1 1" || echo "$(grep -c -F -e "$said" <<< "$shown") $(grep -c -F -e "${how[$entry]}" <<< "$shown")")"
    done
done <<'EOF'
gdbus:0 notify-send:0 zenity:0|DISPLAY=:9|gdbus gdbus
gdbus:1 notify-send:0 zenity:0|DISPLAY=:9|gdbus notify-send
notify-send:1 zenity:0 xmessage:0|WAYLAND_DISPLAY=w|notify-send zenity
zenity:1 xmessage:0|DISPLAY=:9|zenity
kdialog:0 xmessage:0|WAYLAND_DISPLAY=w|kdialog
xmessage:0|DISPLAY=:9|xmessage
xmessage:0|WAYLAND_DISPLAY=w|
zenity:0 xmessage:0||
EOF

finish
