#!/usr/bin/env bash
# The real program in a Wayland session (Weston with XWayland):
#   - with an X server at hand (WAYLAND_DISPLAY and DISPLAY set, no
#     QT_QPA_PLATFORM) it runs on XWayland: its window appears on the X
#     display, and it asks the window manager to keep it on top (Weston's
#     window manager does not list that state, so the request itself is
#     watched);
#   - with QT_QPA_PLATFORM=wayland it runs as a native Wayland client, says
#     once on standard error what the compositor does not keep, and stays
#     usable: a click on the hand cell AA shows its chart, and the restore
#     handle brings the minimised window back;
#   - without an X server it chooses the native platform itself;
#   - with nothing to reach it says so and ends with exit code 1.
#
# The first part runs on Weston's headless backend. The others need a
# pointer, which that backend lacks (nothing could click a native Wayland
# window, and XWayland ends when synthetic input reaches it), so there Weston
# runs nested in the virtual X display (its x11 backend): the compositor, its
# shell and XWayland are the same.
#
#   weston.sh <tabulo binary> <scratch folder> <screencheck binary>
set -euo pipefail

source "$(dirname "$0")/support/display.sh"
e2e_display weston Xwayland xdotool import convert compare -- "$@"

chart="$(dirname "$bin")/img/Holecards/AA.png"
[ -f "$chart" ] || fail "no default chart pack beside the program ($chart)"

compositor=
watcher=
e2e_also_stop watcher compositor

# The compositor's private runtime folder, and a plain background so that
# the native window can be found on screenshots of its output.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
cat >"$work/weston.ini" <<'EOF'
[core]
idle-time=0
[shell]
background-color=0xff204060
panel-position=none
EOF
# Starts Weston with XWayland: start_weston NAME BACKEND-ARGUMENTS... sets
# compositor (its process), socket (the Wayland display) and xdisplay.
start_weston() {
    local name=$1
    shift
    socket="tabulo-$$-$name"
    weston "$@" --use-pixman --xwayland --socket="$socket" --width=800 --height=600 \
        --config="$work/weston.ini" >"$work/weston-$name.log" 2>&1 &
    compositor=$!
    within 20 eval '[ -S "$XDG_RUNTIME_DIR/$socket" ] && grep -q "xserver listening on display" "$work/weston-$name.log"' ||
        fail "weston ($name) did not start: $(cat "$work/weston-$name.log")"
    xdisplay=$(sed -nE '0,/.*xserver listening on display (:[0-9]+).*/s//\1/p' "$work/weston-$name.log")
    echo "weston ($name) $compositor: Wayland socket $socket, XWayland $xdisplay"
}
stop_weston() {
    kill "$compositor" 2>/dev/null || true
    wait "$compositor" 2>/dev/null || true
    compositor=
}

# 1. A Wayland session with XWayland, Weston headless: the window is an X
# window, and it asks to stay on top.
start_weston headless --backend=headless-backend.so
DISPLAY=$xdisplay "$check" wmstate >"$work/wmstate.txt" 2>&1 &
watcher=$!
within 10 grep -qs watching "$work/wmstate.txt" || fail "cannot watch XWayland: $(cat "$work/wmstate.txt")"
DISPLAY=$xdisplay e2e_start_program env -u QT_QPA_PLATFORM WAYLAND_DISPLAY="$socket" \
    XDG_SESSION_TYPE=wayland "$bin"
echo "the window is on the XWayland display"
grep -q "native Wayland client" "$work/tabulo.log" && fail "on XWayland the program says it runs natively"
xwid=$(printf '0x%x' "$wid")
within 5 eval 'awk -v w="$xwid" "\$1 == w && \$2 == \"add\" && \$3 == \"_NET_WM_STATE_ABOVE\" {ok = 1} END {exit !ok}" "$work/wmstate.txt"' ||
    fail "the window does not ask to stay on top: $(cat "$work/wmstate.txt")"
grep "^$xwid" "$work/wmstate.txt"
e2e_stop_program
pid=
kill "$watcher" 2>/dev/null || true
wait "$watcher" 2>/dev/null || true
watcher=
stop_weston

# The rest on Weston nested in the virtual display, where the pointer works.
start_weston nested --backend=x11-backend.so

# Screenshots of the compositor's output (its window at 0, 0 of the outer
# display); the program's window is where the button-face grey is, 282
# pixels wide.
outer_shot() { import -window root -crop 800x600+0+0 +repage "$work/$1.png" 2>/dev/null; }
grey_box() {
    outer_shot output || return 1
    box=$(convert "$work/output.png" -fill black +opaque 'srgb(239,239,239)' -fill white \
        -opaque 'srgb(239,239,239)' -format '%@' info: 2>/dev/null)
}
find_window() {
    grey_box && [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] &&
        [ "${BASH_REMATCH[1]}" -eq 282 ] && [ "${BASH_REMATCH[2]}" -ge 340 ]
}
no_window() { grey_box && ! [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ && ${BASH_REMATCH[1]} -gt 1 ]]; }
# Weston's x11 backend moves its pointer by the outer pointer's motion and
# stops it at the output's edges: a move from the far corner to 0, 0 puts
# it at 0, 0, and from then on both pointers agree. Afterwards the pointer
# goes to the corner of the output farthest from the window, so that the
# cursor Weston draws is not on the screenshots of the window.
click_at() {
    xdotool mousemove 799 599 mousemove 0 0 mousemove "$1" "$2" click 1 \
        mousemove $((ox > 259 ? 0 : 799)) $((oy > 124 ? 0 : 599))
}

# 2. QT_QPA_PLATFORM=wayland: a native client, usable.
within 10 no_window || fail "the XWayland window did not go"
env QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" DISPLAY="$xdisplay" \
    QT_WAYLAND_DISABLE_WINDOWDECORATION=1 "$bin" >"$work/tabulo.log" 2>&1 &
pid=$!
within 30 find_window || fail "no native window on the compositor's output"
kill -0 "$pid" || fail "the program ended"
[[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]]
ox=${BASH_REMATCH[3]} oy=${BASH_REMATCH[4]}
echo "native window at $ox,$oy (${BASH_REMATCH[1]}x${BASH_REMATCH[2]})"
[ "$(grep -c "native Wayland client" "$work/tabulo.log")" -eq 1 ] ||
    fail "the program does not say once that it runs natively"
grep "native Wayland client" "$work/tabulo.log"

window_shot() { outer_shot output && convert "$work/output.png" -crop "282x350+$ox+$oy" +repage "$work/$1.png"; }
within 15 eval 'window_shot window && "$check" tabs "$work/window.png" Custom Hands Position About >"$work/tabs.txt"' ||
    { cat "$work/tabs.txt"; fail "the four tab captions are not there"; }
read -r x y < <(awk '/^center/ {n++; if (n == 2) print $2, $3}' "$work/tabs.txt")
click_at $((ox + x)) $((oy + y))
# The grid, once two screenshots in a row agree (the tab under the pointer
# was lit until the pointer left).
grid_settled() {
    window_shot grid && "$check" colors "$work/grid.png" dd0016:4000 52cef8:5000 c0c0c0:6000 >"$work/grid.txt" &&
        window_shot grid2 && [ "$(compare -metric AE "$work/grid.png" "$work/grid2.png" null: 2>&1)" = 0 ]
}
within 10 grid_settled || { cat "$work/grid.txt"; fail "the Hands tab shows no settled hand grid"; }
red=$(convert "$work/grid.png" -fill black +opaque '#dd0016' -fill white -opaque '#dd0016' -format '%@' info:)
[[ $red =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "no red cells found"
ax=$((BASH_REMATCH[3] + 8)) ay=$((BASH_REMATCH[4] + 6))
click_at $((ox + ax)) $((oy + ay))
# The chart covers the page and is AA.png scaled to it.
changed() {
    window_shot chart || return 1
    area=$(convert "$work/grid.png" "$work/chart.png" -compose difference -composite \
        -colorspace gray -threshold 3% -format '%@' info:)
    [[ $area =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && [ "${BASH_REMATCH[1]}" -ge 250 ] &&
        [ "${BASH_REMATCH[2]}" -ge 280 ]
}
within 10 changed || fail "the chart does not cover the page (changed area ${area:-none})"
[[ $area =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]]
convert "$work/chart.png" -crop "$area" +repage "$work/chart-area.png"
convert "$chart" -resize "${BASH_REMATCH[1]}x${BASH_REMATCH[2]}!" "$work/expected.png"
rmse=$(compare -metric RMSE "$work/chart-area.png" "$work/expected.png" null: 2>&1 | sed -E 's/.*\((.*)\).*/\1/') || true
echo "native: chart against AA.png scaled to the page: RMSE $rmse"
awk -v e="$rmse" 'BEGIN {exit !(e < 0.12)}' || fail "the page does not show AA.png (RMSE $rmse)"

# The restore handle cycle: a right-button release minimises the window and
# shows the handle (the highlight colour, 113 x 57); the pointer over the
# handle brings the window back, although no compositor lets a client
# leave the minimised state by itself.
xdotool mousemove 799 599 mousemove 0 0 mousemove $((ox + 140)) $((oy + 200)) click 3 \
    mousemove $((ox > 259 ? 0 : 799)) $((oy > 124 ? 0 : 599))
handle_box() {
    outer_shot output || return 1
    hbox=$(convert "$work/output.png" -fill black +opaque 'srgb(48,140,198)' -fill white \
        -opaque 'srgb(48,140,198)' -format '%@' info: 2>/dev/null)
    [[ $hbox =~ ^113x57\+([0-9]+)\+([0-9]+)$ ]]
}
within 10 eval 'no_window && handle_box' || fail "no restore handle instead of the window (${hbox:-none})"
[[ $hbox =~ ^113x57\+([0-9]+)\+([0-9]+)$ ]]
hx=${BASH_REMATCH[1]} hy=${BASH_REMATCH[2]}
echo "minimised; the handle at $hx,$hy"
xdotool mousemove 799 599 mousemove 0 0 mousemove $((hx + 20)) $((hy + 20)) mousemove $((hx + 30)) $((hy + 25))
# Back: the window's grey (its tab strip, the chart still shown) is there again.
back() { grey_box && [[ $box =~ ^282x([0-9]+)\+ ]] && ! handle_box; }
within 10 back || fail "the pointer over the handle did not bring the window back"
echo "restored: the window is back"
e2e_stop_program
pid=

# 3. No X server at all: the program chooses the native platform itself.
within 10 no_window || fail "the native window did not go"
env -u QT_QPA_PLATFORM -u DISPLAY WAYLAND_DISPLAY="$socket" XDG_SESSION_TYPE=wayland \
    QT_WAYLAND_DISABLE_WINDOWDECORATION=1 "$bin" >"$work/tabulo.log" 2>&1 &
pid=$!
within 30 find_window || fail "without X the program shows no window"
kill -0 "$pid" || fail "without X the program ended"
grep -q "native Wayland client" "$work/tabulo.log" || fail "without X the program does not say it runs natively"
echo "without X: a native window"
e2e_stop_program
pid=

# 4. Nothing to reach (no X server, a compositor that is gone): one message
# and exit code 1, not Qt's abort.
status=0
env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY="gone-$$" "$bin" >"$work/gone.log" 2>&1 || status=$?
[ "$status" -eq 1 ] && grep -q "no window can be opened" "$work/gone.log" ||
    fail "without any display the program ended with $status: $(cat "$work/gone.log")"
echo "without any display: exit code 1 and a message"
echo "e2e weston: ok"
