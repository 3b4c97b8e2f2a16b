#!/usr/bin/env bash
# The Hands page of the real program on a virtual display: a click on the
# hand cell AA shows the chart img/Holecards/AA.png stretched over the whole
# page; a click on the chart brings the grid back, as it was. Screenshots are
# left in the scratch folder.
#
#   pages.sh <tabulo binary> <scratch folder> <screencheck binary>
set -euo pipefail

source "$(dirname "$0")/support/display.sh"
e2e_display xdotool xwininfo import convert compare -- "$@"

chart="$(dirname "$bin")/img/Holecards/AA.png"
[ -f "$chart" ] || fail "no default chart pack beside the program ($chart)"

e2e_start_program
shot() { import -window "$wid" "$work/$1.png" 2>/dev/null; }

# The Hands tab is the second of the four.
within 15 eval 'shot window && "$check" tabs "$work/window.png" Custom Hands Position About >"$work/tabs.txt"' ||
    { cat "$work/tabs.txt"; fail "the four tab captions are not there"; }
read -r x y < <(awk '/^center/ {n++; if (n == 2) print $2, $3}' "$work/tabs.txt")
xdotool mousemove --window "$wid" "$x" "$y" click 1
xdotool mousemove 1200 780

# The grid: many red, light blue and silver cells.
within 10 eval 'shot grid && "$check" colors "$work/grid.png" dd0016:4000 52cef8:5000 c0c0c0:6000 >"$work/grid.txt"' ||
    { cat "$work/grid.txt"; fail "the Hands tab shows no hand grid"; }
cat "$work/grid.txt"

# AA is the top-left cell of the red block (the row and column of the aces).
red=$(convert "$work/grid.png" -fill black +opaque '#dd0016' -fill white -opaque '#dd0016' -format '%@' info:)
echo "red cells: $red"
if [[ ! $red =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]]; then fail "no red cells found"; fi
ax=$((BASH_REMATCH[3] + 8)) ay=$((BASH_REMATCH[4] + 6))
xdotool mousemove --window "$wid" "$ax" "$ay" click 1
xdotool mousemove 1200 780

# The chart covers the page: what changed is (nearly) the whole page below
# the tab strip, and it is AA.png scaled to that area.
changed() {
    shot chart || return 1
    area=$(convert "$work/grid.png" "$work/chart.png" -compose difference -composite \
        -colorspace gray -threshold 3% -format '%@' info:)
    [[ $area =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && [ "${BASH_REMATCH[1]}" -ge 250 ] &&
        [ "${BASH_REMATCH[2]}" -ge 280 ]
}
within 10 changed || fail "the chart does not cover the page (changed area ${area:-none})"
echo "chart area: $area"
[[ $area =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]]
w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]}
convert "$work/chart.png" -crop "$area" +repage "$work/chart-area.png"
convert "$chart" -resize "${w}x${h}!" "$work/expected.png"
rmse=$(compare -metric RMSE "$work/chart-area.png" "$work/expected.png" null: 2>&1 | sed -E 's/.*\((.*)\).*/\1/') || true
echo "chart against AA.png scaled to the page: RMSE $rmse"
awk -v e="$rmse" 'BEGIN {exit !(e < 0.12)}' || fail "the page does not show AA.png (RMSE $rmse)"

# A click on the chart brings the grid back, also a quick one that follows
# the cell click at the same point within the double-click time (the toolkit
# reports it to the picture as a double click).
xdotool mousemove --window "$wid" "$ax" "$ay" click 1
xdotool mousemove 1200 780
back() {
    shot back || return 1
    diff=$(compare -metric AE -fuzz 3% "$work/grid.png" "$work/back.png" null: 2>&1) || true
    [ "${diff%%.*}" -lt 300 ] 2>/dev/null
}
within 10 back || fail "the grid is not back after a click on the chart ($diff pixels differ)"
echo "grid back: $diff pixels differ from the first grid"
echo "e2e pages: ok"
