#!/usr/bin/env bash
# The real program on a virtual display: the main window "Tabulo v. 1.3"
# appears with a client area of 282 x 350 and the tabs "Custom", "Hands",
# "Position" and "About" in that order; the About tab shows the colour
# legend. Screenshots are left in the scratch folder.
#
#   tabulo.sh <tabulo binary> <scratch folder> <screencheck binary>
set -euo pipefail

source "$(dirname "$0")/support/display.sh"
e2e_display xdotool xwininfo import -- "$@"
e2e_start_program

# No window manager runs, so the window is its client area.
size=$(xwininfo -id "$wid" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w "x" h}')
echo "client area $size"
[ "$size" = 282x350 ] || fail "client area is $size, not 282x350"

# The tab captions, once the window has painted them.
deadline=$((SECONDS + 15))
until import -window "$wid" "$work/window.png" 2>/dev/null &&
    "$check" tabs "$work/window.png" Custom Hands Position About >"$work/tabs.txt"; do
    [ $SECONDS -lt $deadline ] || { cat "$work/tabs.txt"; fail "the four tab captions are not there"; }
    sleep 0.2
done
cat "$work/tabs.txt"
import -window root "$work/screen.png"
echo "screenshot: $work/screen.png"

# The About tab: the legend's seat and action colours.
read -r x y < <(awk '/^center/ {c = $2 " " $3} END {print c}' "$work/tabs.txt")
xdotool mousemove --window "$wid" "$x" "$y" click 1
deadline=$((SECONDS + 10))
until import -window "$wid" "$work/about.png" 2>/dev/null &&
    "$check" colors "$work/about.png" dd0016:100 ff9d3c:100 ffff00:100 52cef8:100 3db939:100 \
        >"$work/about.txt"; do
    [ $SECONDS -lt $deadline ] || { cat "$work/about.txt"; fail "the About tab shows no colour legend"; }
    sleep 0.2
done
cat "$work/about.txt"
echo "e2e tabulo: ok"
