#!/usr/bin/env bash
# The range editor and the viewer on a virtual display: in tabulo-ranges the
# UTG open chart gets 72o painted with the raise brush, Ctrl+R renders the
# pack into a portable program folder, and the viewer started from that
# folder shows the changed 72o chart (UTG's cell now red) on the Hands page.
#
#   ranges.sh <tabulo binary> <scratch folder> <screencheck binary>
set -euo pipefail

if [ "${1:-}" != --inner ]; then
    for tool in xvfb-run xdotool import convert; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "skipped: $tool is not installed"
            exit 77
        fi
    done
    work=$2
    rm -rf "$work"
    mkdir -p "$work/config" "$work/data"
    export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
    export QT_QPA_PLATFORM=xcb
    exec xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1280x900x24 -noreset" bash "$0" --inner "$@"
fi

bin=$2 work=$3 check=$4
build=$(dirname "$bin")
editor="$build/tools/tabulo-ranges"
packtool="$build/tools/tabulo-chartpack"
ranges="$(cd "$(dirname "$0")/../../tools/chartpack" && pwd)/ranges.txt"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done' EXIT
fail() {
    echo "FAIL: $*"
    cat "$work"/*.log 2>/dev/null || true
    exit 1
}
source "$(dirname "$0")/support/within.sh"
[ -x "$editor" ] || { echo "skipped: no tabulo-ranges beside the program"; exit 77; }

# A portable program folder with the default pack.
mkdir -p "$work/prog"
cp "$bin" "$work/prog/tabulo"
"$packtool" --quiet "$ranges" "$work/prog" >"$work/pack.log" 2>&1 || fail "the pack tool failed"
cp "$work/prog/img/Holecards/72o.png" "$work/72o-before.png"
cp "$ranges" "$work/ranges.txt"

# The editor opens on the first chart, UTG open, with the raise brush.
"$editor" --program-folder "$work/prog" "$work/ranges.txt" >"$work/editor.log" 2>&1 &
pids+=($!)
find_editor() {
    ewid=$(first_window --name 'Tabulo ranges')
    [ -n "$ewid" ] || { kill -0 "${pids[0]}" 2>/dev/null || fail "the editor ended early"; false; }
}
within 30 find_editor || fail "no editor window within 30 s"
# The grid is the left-most red area (the preview lies to its right): AA is
# the top-left cell of it, 72o is 7 cells right and 12 down.
grid_origin() {
    import -window "$ewid" "$work/editor.png" 2>/dev/null || return 1
    box=$(convert "$work/editor.png" -crop 640x900+0+0 +repage -fill black +opaque '#dd0016' \
        -fill white -opaque '#dd0016' -format '%@' info:)
    [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]]
}
within 15 grid_origin || fail "no red hand grid in the editor (${box:-none})"
gx=${BASH_REMATCH[3]} gy=${BASH_REMATCH[4]}
xdotool mousemove --window "$ewid" $((gx + 7 * 34 + 16)) $((gy + 12 * 34 + 16)) click 1
xdotool windowfocus --sync "$ewid" 2>/dev/null || true
xdotool key ctrl+r
rendered() { ! cmp -s "$work/prog/img/Holecards/72o.png" "$work/72o-before.png"; }
within 60 rendered || fail "72o.png did not change after painting and Ctrl+R"
echo "editor rendered the changed pack"

# The viewer from the program folder: Hands tab, the 72o cell.
"$work/prog/tabulo" >"$work/tabulo.log" 2>&1 &
pids+=($!)
find_viewer() { vwid=$(first_window --name '^Tabulo v\. 1\.3$') && [ -n "$vwid" ]; }
within 30 find_viewer || fail "no viewer window within 30 s"
within 15 eval 'import -window "$vwid" "$work/window.png" 2>/dev/null && "$check" tabs "$work/window.png" Custom Hands Position About >"$work/tabs.txt"' ||
    fail "the four tab captions are not there"
read -r x y < <(awk '/^center/ {n++; if (n == 2) print $2, $3}' "$work/tabs.txt")
xdotool mousemove --window "$vwid" "$x" "$y" click 1
xdotool mousemove 1200 880
within 10 eval 'import -window "$vwid" "$work/grid.png" 2>/dev/null && "$check" colors "$work/grid.png" dd0016:4000 >/dev/null' ||
    fail "the Hands tab shows no hand grid"
red=$(convert "$work/grid.png" -fill black +opaque '#dd0016' -fill white -opaque '#dd0016' -format '%@' info:)
[[ $red =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "no red cells found"
# Cells are 20 pixels apart; AA is the top-left red cell.
xdotool mousemove --window "$vwid" $((BASH_REMATCH[3] + 7 * 20 + 8)) $((BASH_REMATCH[4] + 12 * 20 + 6)) click 1
xdotool mousemove 1200 880
# Before, 72o folded everywhere (no red at all); now its UTG cell is red.
shows_change() {
    import -window "$vwid" "$work/chart.png" 2>/dev/null &&
        "$check" colors "$work/chart.png" dd0016:1000 c0c0c0:20000 >"$work/chart.txt"
}
within 10 shows_change || { cat "$work/chart.txt"; fail "the viewer does not show the changed 72o chart"; }
cat "$work/chart.txt"
echo "e2e ranges: ok"
