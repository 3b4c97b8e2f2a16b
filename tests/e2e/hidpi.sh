#!/usr/bin/env bash
# The real program on a 200 % screen (Xft.dpi 192, as GNOME and KDE set it),
# under openbox, against the same program at 96 DPI:
#   - the main window is 564 x 700 pixels;
#   - the tab captions read as the four words, and the ink of each is about
#     twice as wide and twice as tall as at 96 DPI (a bitmap face would
#     keep its small letters and only spread them);
#   - a chart shown on the Hands page uses the picture's own pixels: the
#     564 x 660 chart is scaled once to the page's device pixels, its cell
#     edges as sharp as in the file;
#   - the restore handle is twice its size and restores the window when the
#     pointer crosses it.
#
#   hidpi.sh <tabulo binary> <scratch folder> <screencheck binary>
set -euo pipefail

source "$(dirname "$0")/support/display.sh"
e2e_display openbox xrdb xdotool xprop xwininfo import convert compare -- "$@"

chart="$(dirname "$bin")/img/Holecards/AA.png"
[ -f "$chart" ] || fail "no default chart pack beside the program ($chart)"

wm=
e2e_also_stop wm

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
within 10 eval '[[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]]' ||
    fail "openbox did not start: $(cat "$work/openbox.log")"

client_size() { xwininfo -id "$wid" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w "x" h}'; }
shot() { import -window "$wid" "$work/$1.png" 2>/dev/null; }

# The tab captions at 96 DPI: their ink sizes.
echo "Xft.dpi: 96" | xrdb -nocpp -merge
e2e_start_program
within 15 eval 'shot window96 && "$check" tabs "$work/window96.png" Custom Hands Position About >"$work/tabs96.txt"' ||
    { cat "$work/tabs96.txt"; fail "96 DPI: the four tab captions are not there"; }
e2e_stop_program
pid=
mapfile -t ink96 < <(awk '/^ink/ {print $2, $3}' "$work/tabs96.txt")

# At 192 DPI.
echo "Xft.dpi: 192" | xrdb -nocpp -merge
e2e_start_program
within 10 eval '[ "$(client_size)" = 564x700 ]' || fail "192 DPI: the window is $(client_size), not 564x700"
echo "192 DPI: window 564x700"
within 15 eval 'shot window && "$check" tabs --scale 2 "$work/window.png" Custom Hands Position About >"$work/tabs.txt"' ||
    { cat "$work/tabs.txt"; fail "192 DPI: the four tab captions are not there, scaled"; }
cat "$work/tabs.txt"
mapfile -t ink < <(awk '/^ink/ {print $2, $3}' "$work/tabs.txt")
for i in 0 1 2 3; do
    read -r w0 h0 <<<"${ink96[$i]}"
    read -r w1 h1 <<<"${ink[$i]}"
    echo "tab $((i + 1)): ink ${w0}x$h0 at 96 DPI, ${w1}x$h1 at 192 DPI"
    awk -v a="$w0" -v b="$w1" -v c="$h0" -v d="$h1" \
        'BEGIN {exit !(b >= 1.7 * a && b <= 2.3 * a && d >= 1.7 * c && d <= 2.3 * c)}' ||
        fail "tab $((i + 1)): the caption is not drawn twice as large (${w0}x$h0 -> ${w1}x$h1)"
done

# The Hands tab, then the hand cell AA (top left of the red block).
read -r x y < <(awk '/^center/ {n++; if (n == 2) print $2, $3}' "$work/tabs.txt")
xdotool mousemove --window "$wid" "$x" "$y" click 1
xdotool mousemove 1270 790
within 10 eval 'shot grid && "$check" colors "$work/grid.png" dd0016:16000 52cef8:20000 c0c0c0:24000 >"$work/grid.txt"' ||
    { cat "$work/grid.txt"; fail "the Hands tab shows no hand grid"; }
red=$(convert "$work/grid.png" -fill black +opaque '#dd0016' -fill white -opaque '#dd0016' -format '%@' info:)
[[ $red =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "no red cells found"
xdotool mousemove --window "$wid" $((BASH_REMATCH[3] + 16)) $((BASH_REMATCH[4] + 12)) click 1
xdotool mousemove 1270 790

# The chart on screen against the file: the page (its frame aside) is
# 556 x 650 device pixels, and the chart drawn there is the file scaled once
# to that size. A chart scaled to the page's logical size first and then
# doubled (282 x 330 pixels shown on 564 x 660) has blocky edges, 0.065 away.
changed() {
    shot chart || return 1
    area=$(convert "$work/grid.png" "$work/chart.png" -compose difference -composite \
        -colorspace gray -threshold 3% -format '%@' info:)
    [[ $area =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && [ "${BASH_REMATCH[1]}" -ge 500 ] &&
        [ "${BASH_REMATCH[2]}" -ge 560 ]
}
within 10 changed || fail "the chart does not cover the page (changed area ${area:-none})"
echo "chart area on screen: $area (the picture is $(identify -format '%wx%h' "$chart"))"
[[ $area =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]]
size="${BASH_REMATCH[1]}x${BASH_REMATCH[2]}"
convert "$work/chart.png" -crop "$area" +repage "$work/chart-area.png"
convert "$chart" -filter Triangle -resize "$size!" "$work/expected.png"
rmse=$(compare -metric RMSE "$work/chart-area.png" "$work/expected.png" null: 2>&1 | sed -E 's/.*\((.*)\).*/\1/') || true
echo "chart against the file scaled once to the page: RMSE $rmse"
awk -v e="$rmse" 'BEGIN {exit !(e < 0.02)}' || fail "the chart does not use the picture's own pixels (RMSE $rmse)"

# The restore handle at 200 %: a right-button release minimises the window
# and shows the handle (113 x 57 logical pixels); the pointer crossing it
# restores the window.
state() { xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state:/ {print $3}'; }
xdotool mousemove --window "$wid" 280 400 click 3
within 5 eval '[ "$(state "$wid")" = Iconic ]' || fail "a right-button release did not minimise"
within 5 eval 'hid=$(first_window --name "^Form$"); [ -n "$hid" ]' ||
    fail "no restore handle after minimising"
hsize=$(xwininfo -id "$hid" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w "x" h}')
echo "handle $hsize"
[ "$hsize" = 226x114 ] || fail "the handle is $hsize, not 226x114"
xdotool mousemove --window "$hid" 40 40 mousemove --window "$hid" 60 50
within 5 eval '[ "$(state "$wid")" = Normal ]' || fail "the pointer over the handle did not restore the window"
echo "restored by the handle"
echo "e2e hidpi: ok"
