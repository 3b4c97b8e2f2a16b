#!/usr/bin/env bash
# The Hands page of the real program on a virtual display: a click on the
# hand cell AA shows the chart img/Holecards/AA.png stretched over the whole
# page; a click on the chart brings the grid back, as it was. Then the
# program is started again and its Hands tab clicked the moment the window
# is mapped: the program takes no input before every page exists, so that
# click shows the grid, and a click on AA right after it the chart.
# Screenshots are left in the scratch folder.
#
#   pages.sh <tabulo binary> <scratch folder> <screencheck binary>
set -euo pipefail

source "$(dirname "$0")/support/display.sh"
e2e_display xdotool xwininfo import convert compare -- "$@"

chart="$(dirname "$bin")/img/Holecards/AA.png"
[ -f "$chart" ] || fail "no default chart pack beside the program ($chart)"

clicker=
e2e_also_stop clicker

shot() { import -window "$wid" "$work/$1.png" 2>/dev/null; }
away() { xdotool mousemove 1200 780; }

# grid_shows NAME: the page shows the hand grid, many red, light blue and
# silver cells (screenshot NAME.png).
grid_shows() {
    local name=$1
    within 10 eval 'shot $name && "$check" colors "$work/$name.png" dd0016:4000 52cef8:5000 c0c0c0:6000 >"$work/$name.txt"' ||
        { cat "$work/$name.txt"; fail "the Hands tab shows no hand grid ($name.png)"; }
    cat "$work/$name.txt"
}

# aa_chart_opens GRID CHART: a click on the hand cell AA of the grid in
# GRID.png shows AA.png scaled over (nearly) the whole page below the tab
# strip: that is what changed from GRID.png to CHART.png. Sets ax and ay,
# where it clicked.
aa_chart_opens() {
    local grid=$1 name=$2 red area w h rmse
    # AA is the top-left cell of the red block (the row and column of the aces).
    red=$(convert "$work/$grid.png" -fill black +opaque '#dd0016' -fill white -opaque '#dd0016' -format '%@' info:)
    echo "red cells: $red"
    if [[ ! $red =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]]; then fail "no red cells found"; fi
    ax=$((BASH_REMATCH[3] + 8)) ay=$((BASH_REMATCH[4] + 6))
    xdotool mousemove --window "$wid" "$ax" "$ay" click 1
    away
    changed() {
        shot "$name" || return 1
        area=$(convert "$work/$grid.png" "$work/$name.png" -compose difference -composite \
            -colorspace gray -threshold 3% -format '%@' info:)
        [[ $area =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && [ "${BASH_REMATCH[1]}" -ge 250 ] &&
            [ "${BASH_REMATCH[2]}" -ge 280 ]
    }
    within 10 changed || fail "the chart does not cover the page (changed area ${area:-none}, $name.png)"
    echo "chart area: $area"
    [[ $area =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]]
    w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]}
    convert "$work/$name.png" -crop "$area" +repage "$work/$name-area.png"
    convert "$chart" -resize "${w}x${h}!" "$work/$name-expected.png"
    rmse=$(compare -metric RMSE "$work/$name-area.png" "$work/$name-expected.png" null: 2>&1 | sed -E 's/.*\((.*)\).*/\1/') || true
    echo "chart against AA.png scaled to the page: RMSE $rmse"
    awk -v e="$rmse" 'BEGIN {exit !(e < 0.12)}' || fail "the page does not show AA.png (RMSE $rmse, $name.png)"
}

e2e_start_program

# The Hands tab is the second of the four.
within 15 eval 'shot window && "$check" tabs "$work/window.png" Custom Hands Position About >"$work/tabs.txt"' ||
    { cat "$work/tabs.txt"; fail "the four tab captions are not there"; }
read -r x y < <(awk '/^center/ {n++; if (n == 2) print $2, $3}' "$work/tabs.txt")
xdotool mousemove --window "$wid" "$x" "$y" click 1
away
grid_shows grid
aa_chart_opens grid chart

# A click on the chart brings the grid back, also a quick one that follows
# the cell click at the same point within the double-click time (the toolkit
# reports it to the picture as a double click).
xdotool mousemove --window "$wid" "$ax" "$ay" click 1
away
back() {
    shot back || return 1
    diff=$(compare -metric AE -fuzz 3% "$work/grid.png" "$work/back.png" null: 2>&1) || true
    [ "${diff%%.*}" -lt 300 ] 2>/dev/null
}
within 10 back || fail "the grid is not back after a click on the chart ($diff pixels differ)"
echo "grid back: $diff pixels differ from the first grid"

# Again from the start, with the earliest click a user could make: on the
# Hands tab, as soon as the window is mapped.
e2e_stop_program
pid=
mv "$work/tabulo.log" "$work/tabulo-first.log"
within 10 eval '[ -z "$(first_window --name "^Tabulo v\. 1\.3$")" ]' || fail "the first window is still there"
: >"$work/clickonmap.txt"
"$check" clickonmap 'Tabulo v. 1.3' "$x" "$y" >"$work/clickonmap.txt" 2>&1 &
clicker=$!
within 10 eval '[[ $(<"$work/clickonmap.txt") == ready* ]]' ||
    fail "clickonmap does not watch the display: $(cat "$work/clickonmap.txt")"
e2e_start_program
rc=0
wait "$clicker" || rc=$?
clicker=
report=$(<"$work/clickonmap.txt")
echo "$report"
[ $rc -eq 0 ] || fail "no click on the new window (clickonmap exit status $rc)"
[[ $report =~ clicked\ ([0-9]+)\ us\ after\ mapping ]] || fail "clickonmap reports no delay"
[ "${BASH_REMATCH[1]}" -lt 1000 ] || fail "the click came ${BASH_REMATCH[1]} us after the mapping, not within 1 ms"
away
grid_shows early-grid
aa_chart_opens early-grid early-chart
echo "e2e pages: ok"
