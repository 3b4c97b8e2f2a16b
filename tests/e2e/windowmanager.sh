#!/usr/bin/env bash
# The real program under a real window manager (openbox) on a virtual
# display, with another program's window (xlogo) standing in for the poker
# table the user works in:
#   - the first run opens the main window's frame at 0, 0, asking to stay
#     on top;
#   - a right-button release on a page minimises it and shows the restore
#     handle: a resizable frame without a title bar, nobody's transient;
#   - with Ctrl held the pointer crosses the handle without effect;
#   - the pointer over the handle restores the main window without taking
#     the focus from the other program, and the handle's placement is saved;
#   - the chart edit window offers no close action, a donate window does;
#   - a right-button release on the Help page does nothing.
#
#   windowmanager.sh <tabulo binary> <scratch folder> <screencheck binary>
set -euo pipefail

source "$(dirname "$0")/support/display.sh"
e2e_display openbox xdotool xprop xwininfo xlogo import -- "$@"

wm=
logo=
e2e_also_stop logo wm

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
within 10 eval '[[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]]' ||
    fail "openbox did not start: $(cat "$work/openbox.log")"
echo "openbox $wm"

# Started again when the display refuses its first connection.
table=
for attempt in 1 2 3; do
    xlogo -geometry 200x150+700+400 >"$work/xlogo.log" 2>&1 &
    logo=$!
    within 10 eval 'table=$(first_window --class xlogo); [ -n "$table" ] ||
        ! kill -0 $logo 2>/dev/null' || true
    [ -n "$table" ] && break
done
[ -n "$table" ] || fail "no xlogo window: $(cat "$work/xlogo.log")"

e2e_start_program

# Frame extents (left right top bottom) and the client's corner on screen.
extents() { xprop -id "$1" _NET_FRAME_EXTENTS | sed -nE 's/.*= ([0-9]+), ([0-9]+), ([0-9]+), ([0-9]+).*/\1 \2 \3 \4/p'; }
corner() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}'; }
state() { xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state:/ {print $3}'; }
allowed() { xprop -id "$1" _NET_WM_ALLOWED_ACTIONS; }
active() { xdotool getactivewindow 2>/dev/null || true; }
visible() { [[ $(xwininfo -id "$1" 2>/dev/null) == *'Map State: IsViewable'* ]]; }
# Waits until the program and openbox have handled every event sent so far.
settled() { "$check" settled "$wid" || fail "the program or openbox stopped answering"; }

# 1. The frame's corner at 0, 0 and the wish to stay on top.
within 10 eval '[ -n "$(extents "$wid")" ]' || fail "openbox does not frame the main window"
read -r fl fr ft fb < <(extents "$wid")
within 5 eval 'read -r cx cy < <(corner "$wid"); [ $((cx - fl)) -eq 0 ] && [ $((cy - ft)) -eq 0 ]' ||
    fail "first run: the frame is at $((cx - fl)),$((cy - ft)), not 0,0"
echo "main window frame at 0,0 (extents $fl $fr $ft $fb)"
within 5 eval '[[ $(xprop -id "$wid" _NET_WM_STATE) == *_NET_WM_STATE_ABOVE* ]]' ||
    fail "the main window does not ask to stay on top: $(xprop -id "$wid" _NET_WM_STATE)"

# The tabs, for the pages later on; the page area starts below them.
within 15 eval 'import -window "$wid" "$work/window.png" 2>/dev/null &&
    "$check" tabs "$work/window.png" Custom Hands Position About >"$work/tabs.txt"' ||
    { cat "$work/tabs.txt"; fail "the four tab captions are not there"; }
tab() { awk -v n="$1" '/^center/ {k++; if (k == n) print $2, $3}' "$work/tabs.txt"; }
read -r _ tabY < <(tab 1)
page=$((tabY + 14)) # client y of the page's top edge, give or take the tab strip's frame

# 2. A right-button release on a slot button minimises once and shows the handle.
xdotool mousemove --window "$wid" 40 $((page + 32)) click 3
within 5 eval '[ "$(state "$wid")" = Iconic ]' || fail "a right-button release did not minimise"
within 5 eval 'hid=$(first_window --name "^Form$"); [ -n "$hid" ]' ||
    fail "no restore handle after minimising"
echo "minimised; handle $hid"

# 3. The handle: a resizable frame without a title bar, a window of its own.
within 5 eval '[ -n "$(extents "$hid")" ]' || fail "openbox does not frame the handle"
read -r hl hr ht hb < <(extents "$hid")
echo "handle extents $hl $hr $ht $hb"
[ "$ht" -lt 8 ] || fail "the handle has a title bar (top frame $ht px; $(xprop -id "$hid" _MOTIF_WM_HINTS WM_TRANSIENT_FOR _NET_WM_WINDOW_TYPE))"
[[ $(allowed "$hid") == *_NET_WM_ACTION_RESIZE* ]] || fail "the handle cannot be resized: $(allowed "$hid")"
[[ $(xprop -id "$hid" WM_TRANSIENT_FOR) != *"window id"* ]] || fail "the handle is a transient window"
settled
visible "$hid" || fail "the handle went with the minimised main window"

# 4. With Ctrl held the pointer crosses the handle without effect.
read -r hx hy < <(corner "$hid")
xdotool mousemove 1000 100
xdotool keydown ctrl
xdotool mousemove $((hx + 20)) $((hy + 20))
settled
xdotool mousemove $((hx + 30)) $((hy + 25))
settled
xdotool mousemove 1000 100
xdotool keyup ctrl
settled
[ "$(state "$wid")" = Iconic ] || fail "the main window came back although Ctrl was held"
visible "$hid" || fail "the handle closed although Ctrl was held"
echo "crossed the handle with Ctrl held: nothing happened"

# 5. The pointer over the handle restores the main window; the table keeps the focus.
xdotool windowactivate --sync "$table"
[ "$(active)" = "$table" ] || fail "could not give the focus to the xlogo window"
xdotool mousemove $((hx + 20)) $((hy + 20))
within 5 eval '[ "$(state "$wid")" = Normal ] && visible "$wid"' || fail "the main window was not restored"
settled
[ "$(active)" = "$table" ] || fail "restoring took the focus (active window $(active), table $table)"
visible "$hid" && fail "the handle is still shown"
within 5 eval 'grep -rqs HidePos "$XDG_CONFIG_HOME"' || fail "the handle's placement was not saved under HidePos"
echo "restored without activation; HidePos saved"
xdotool mousemove 1000 100

# 6. The edit window offers no close action; a donate window does.
xdotool mousemove --window "$wid" 140 $((page + 10)) click 1 # "Edit mode"
xdotool mousemove --window "$wid" 40 $((page + 32)) click 1 # slot 1
within 5 eval 'edit=$(first_window --name "^Edit$"); [ -n "$edit" ]' ||
    fail "the edit window did not open"
within 5 eval '[[ $(allowed "$edit") == *_NET_WM_ACTION_MOVE* ]]' || fail "openbox does not manage the edit window"
# No close function asked for (Motif functions: move and resize only), and the
# window manager's close (openbox keeps one) leaves it open.
[[ $(xprop -id "$edit" _MOTIF_WM_HINTS) == *"= 0x1, 0x6,"* ]] ||
    fail "the edit window asks for a close function: $(xprop -id "$edit" _MOTIF_WM_HINTS)"
xdotool windowactivate --sync "$edit" key alt+F4
settled
visible "$edit" || fail "the window manager's close action closed the edit window"
echo "edit window: no close function; alt+F4 leaves it open"
xdotool mousemove --window "$wid" 20 $((page + 10)) click 1 # "Donate"
within 5 eval 'donate=$(first_window --name "^Donate$"); [ -n "$donate" ]' ||
    fail "the donate window did not open"
xdotool windowactivate --sync "$donate" key alt+F4
within 5 eval '! visible "$donate"' || fail "the donate window cannot be closed"
echo "donate window closes"

# 7. A right-button release on the Help page does nothing.
read -r ax ay < <(tab 4)
xdotool mousemove --window "$wid" "$ax" "$ay" click 1
within 10 eval 'import -window "$wid" "$work/about.png" 2>/dev/null &&
    "$check" colors "$work/about.png" dd0016:100 >/dev/null' || fail "the About page did not open"
for spot in "60 $((page + 30))" "150 $((page + 150))"; do
    read -r sx sy <<<"$spot"
    xdotool mousemove --window "$wid" "$sx" "$sy" click 3
    settled
    # A release over the about text ends its context menu, if it opened one.
    xdotool key Escape
    settled
    [ "$(state "$wid")" = Normal ] || fail "a right-button release on the Help page at $spot minimised"
done
echo "right-button releases on the Help page: nothing"
echo "e2e windowmanager: ok"
