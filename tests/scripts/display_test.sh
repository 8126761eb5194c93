#!/usr/bin/env bash
# The installed program on real displays. Under X (Xvfb) it opens its window,
# and its Help entry and F1 ask the browser for the page installed beside it
# (never the one in the source tree), after the installation has been moved,
# and when started through a link. Under a headless Wayland compositor (weston)
# it opens its window too. A display that cannot be reached gets one line on
# stderr and exit status 2.
source "$(dirname "${BASH_SOURCE[0]}")/testlib.sh"
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY

install_or_stop "$scratch/installed"
prefix="$scratch/moved"
mv -- "$scratch/installed" "$prefix"
mkdir -m 700 "$scratch/bin" "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime" PATH="$scratch/bin:$PATH"
ln -s "$prefix/bin/farsend98" "$scratch/farsend98"
make_standin "$scratch/bin/xdg-open" "$scratch/record"
# Any file will do as the one selected item.
item="$prefix/bin/farsend98-integrate"

exec {fd}> "$scratch/x-display"
# -noreset: by default Xvfb resets when its last client goes, and while it
# does it refuses connections (the next program or xdotool would find no
# display).
Xvfb -displayfd "$fd" -nolisten tcp -noreset > "$scratch/xvfb.log" 2>&1 &
cleanup_pids+=($!)
exec {fd}>&-
wait_for test -s "$scratch/x-display" && export DISPLAY=":$(cat "$scratch/x-display")"
for program in "$prefix/bin/farsend98" "$scratch/farsend98"; do
    "$program" "$item" > "$scratch/x.log" 2>&1 &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --all --pid "$pid" --name '^Farsend 98$' | head -1)
    [ -n "$window" ] || fail "X: $program opens its window" "$(cat "$scratch/xvfb.log" "$scratch/x.log")"
    # Alt+H opens the Help menu (a second window), H its help entry.
    xdotool windowfocus --sync "$window" key alt+h &&
        wait_for sh -c '[ "$(xdotool search --onlyvisible --pid "$1" | wc -l)" -ge 2 ]' sh "$pid" && xdotool key h
    expect_record "X: $program opens the installed help page from the Help menu" \
        "$scratch/record" "file://$prefix/share/farsend98/FSHelp/index.html"
    xdotool windowfocus --sync "$window" key F1
    expect_record "X: $program opens it with F1" "$scratch/record" "file://$prefix/share/farsend98/FSHelp/index.html"
    kill "$pid"
    wait "$pid"
done
unset DISPLAY

weston --backend=headless-backend.so --socket=farsend98-test --idle-time=0 > "$scratch/weston.log" 2>&1 &
cleanup_pids+=($!)
wait_for test -S "$XDG_RUNTIME_DIR/farsend98-test" || fail "weston starts headless" "$(cat "$scratch/weston.log")"
WAYLAND_DISPLAY=farsend98-test WAYLAND_DEBUG=client timeout 5 "$prefix/bin/farsend98" "$item" \
    > "$scratch/wayland.log" 2>&1
same "Wayland: the program shows its window and stays up" "124 1" \
    "$? $(grep -c 'xdg_toplevel@[0-9]*\.set_title("Farsend 98")' "$scratch/wayland.log")"

advice="; start it in a desktop session or under xvfb-run."
while IFS='|' read -r what x11 wayland line; do
    out=$(env ${x11:+DISPLAY=$x11} ${wayland:+WAYLAND_DISPLAY=$wayland} "$prefix/bin/farsend98" "$item" 2>&1)
    same "$what: one line and status 2" "$line$advice status 2" "$out status $?"
done <<EOF
no display at all|||farsend98: no display available
an X display nobody serves|:7777||farsend98: cannot open the display ":7777"
a Wayland display nobody serves||nobody-here|farsend98: cannot open the display "nobody-here" (Wayland)
EOF

finish
