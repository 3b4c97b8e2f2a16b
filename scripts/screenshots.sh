#!/usr/bin/env bash
# Screenshots of the real program for the README, taken on a virtual display
# under a real window manager (openbox), so they show what a user sees.
#
#   bash scripts/screenshots.sh [tabulo binary, default build/tabulo] [folder, default docs/screenshots]
#
# The binary is copied with its chart pack into a scratch program folder with
# a few custom slots, and run with a scratch configuration folder; nothing of
# the user's own is read or written. Writes custom.png, hands.png,
# position.png, about.png (the four pages), chart.png (a chart shown),
# edit.png (the edit window), handle.png (the restore handle),
# hands-200.png (the Hands page on a 200 % screen) and, when tabulo-trainer
# is built beside the program, trainer.png (a question answered, with its
# feedback).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(readlink -f "${1:-build/tabulo}")
out=${2:-docs/screenshots}
for tool in Xvfb openbox xdotool xprop xwininfo xrdb import convert; do
    command -v $tool >/dev/null || { echo "needs $tool (scripts/deps.sh installs it)" >&2; exit 1; }
done
[[ -x "$bin" && -d "$(dirname "$bin")/img" ]] || { echo "no built program with its charts at $bin" >&2; exit 1; }
mkdir -p "$out"
out=$(readlink -f "$out")

work=$(mktemp -d)
xvfb="" wm="" pid=""
cleanup() {
    local rc=$?
    set +e
    for p in $pid $wm $xvfb; do kill "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
    rm -rf "$work"
    exit $rc
}
trap cleanup EXIT
source tests/e2e/support/within.sh

prog=$work/prog
mkdir -p "$prog" "$work/config"
cp "$bin" "$prog/tabulo"
cp -r "$(dirname "$bin")/img" "$prog/img"
{
    echo "[B1]"; echo "File=$prog/img/Positions/UTG.png"; echo "Caption=UTG open"
    echo "[B2]"; echo "File=$prog/img/Positions/BUvsCO.png"; echo "Caption=BU vs CO"
    echo "[B3]"; echo "File=$prog/img/Positions/BBvsSB.png"; echo "Caption=BB defend"
    echo "[B14]"; echo "File=$prog/img/Holecards/AKs.png"; echo "Caption=AKs"
} >"$prog/Custom.ini"

display=$((500 + RANDOM % 400))
# -noreset: the display would reset (refusing connections meanwhile) each
# time its last client leaves, as the first check below does.
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=":$display" XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
within 10 xdotool getmouselocation >/dev/null 2>&1 || { echo "the virtual display did not start" >&2; exit 1; }
# A plain grey desktop, then the window manager.
xsetroot -solid '#5a6e78' 2>/dev/null || true
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
within 10 eval '[[ "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)" == *"window id"* ]]' ||
    { echo "openbox did not start" >&2; exit 1; }

(cd "$work" && exec "$prog/tabulo") >"$work/tabulo.log" 2>&1 &
pid=$!
win=""
find_main() { win=$(first_window --name '^Tabulo v\. ') && [[ -n "$win" ]]; }
within 30 find_main || { cat "$work/tabulo.log" >&2; echo "no main window" >&2; exit 1; }
sleep 1
eval "$(xdotool getwindowgeometry --shell "$win")" # WIDTH, HEIGHT of the client area

# Saves window $1 with its frame as $2.png.
shoot() { import -frame -window "$1" "$out/$2.png" && echo "$out/$2.png"; }
# Clicks at a point of the main window's client area.
click() { xdotool mousemove --window "$win" "$1" "$2" click "${3:-1}"; sleep 0.6; }
away() { xdotool mousemove 1000 740; sleep 0.3; }

# The tab strip is at the top, the page below it.
tabs=$((HEIGHT - 350 + 25))
[[ $tabs -lt 20 ]] && tabs=25
tabx=(0 30 95 160 225) # rough centres of Custom, Hands, Position, About
taby=$((tabs - 12))

# The Custom page after the pointer has passed over it (captions read).
for y in 150 170 190; do xdotool mousemove --window "$win" $((WIDTH - 8)) "$y"; sleep 0.1; done
away
shoot "$win" custom
click "${tabx[2]}" "$taby"
away
shoot "$win" hands
# A chart: the top-left red cell (AA) of the hand grid.
import -window "$win" "$work/grid.png"
red=$(convert "$work/grid.png" -fill black +opaque '#dd0016' -fill white -opaque '#dd0016' -format '%@' info:)
if [[ $red =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]]; then
    click $((BASH_REMATCH[3] + 8)) $((BASH_REMATCH[4] + 6))
    away
    shoot "$win" chart
    click $((WIDTH / 2)) $((HEIGHT / 2))
fi
click "${tabx[3]}" "$taby"
away
shoot "$win" position
click "${tabx[4]}" "$taby"
away
shoot "$win" about

# The edit window: Custom page, edit mode, slot 2.
click "${tabx[1]}" "$taby"
click 128 $((tabs + 10))
click 40 $((tabs + 55))
edit=""
find_edit() { edit=$(first_window --name '^Edit$') && [[ -n "$edit" ]]; }
if within 10 find_edit; then
    sleep 0.5
    shoot "$edit" edit
    # Closed as a user closes it: openbox's Alt+F4.
    xdotool windowactivate --sync "$edit" key alt+F4
    sleep 0.5
fi
click 128 $((tabs + 10)) # edit mode off again

# The restore handle: a right-button release over the window minimises it.
click $((WIDTH / 2)) $((HEIGHT - 20)) 3
handle=""
find_handle() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        [[ "$id" != "$win" ]] || continue
        eval "$(xdotool getwindowgeometry --shell "$id" | sed 's/^/H/')"
        [[ $HWIDTH -gt 8 && $HWIDTH -lt 200 ]] && { handle=$id; return 0; }
    done
    return 1
}
if within 10 find_handle; then
    away
    # The handle is tiny: shown with a margin of the desktop around it.
    import -window root "$work/root.png"
    eval "$(xwininfo -id "$handle" | awk '/Absolute upper-left X/ {print "HX=" $NF} /Absolute upper-left Y/ {print "HY=" $NF}')"
    convert "$work/root.png" -crop "$((HWIDTH + 60))x$((HHEIGHT + 60))+$((HX > 30 ? HX - 30 : 0))+$((HY > 30 ? HY - 30 : 0))" \
        +repage "$out/handle.png"
    echo "$out/handle.png"
fi

# The Hands page on a 200 % screen: Xft.dpi 192, as GNOME and KDE set it.
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=""
echo "Xft.dpi: 192" | xrdb -nocpp -merge
(cd "$work" && exec "$prog/tabulo") >"$work/tabulo.log" 2>&1 &
pid=$!
within 30 find_main || { cat "$work/tabulo.log" >&2; echo "no main window at 200 %" >&2; exit 1; }
sleep 1
click $((tabx[2] * 2)) $((taby * 2))
away
shoot "$win" hands-200

# The trainer beside the program: one question answered, with a scratch
# data folder (its own range file and history).
trainer="$(dirname "$bin")/tools/tabulo-trainer"
if [[ -x "$trainer" ]]; then
    kill "$pid" 2>/dev/null && { wait "$pid" 2>/dev/null || true; }
    mkdir -p "$work/data"
    (cd "$work" && XDG_DATA_HOME="$work/data" exec "$trainer") >"$work/trainer.log" 2>&1 &
    pid=$!
    twin=""
    find_trainer() { twin=$(first_window --name '^Tabulo trainer') && [[ -n "$twin" ]]; }
    if within 30 find_trainer; then
        xdotool windowactivate --sync "$twin" >/dev/null 2>&1 || true
        sleep 0.5
        xdotool key 1
        sleep 0.5
        away
        shoot "$twin" trainer
    fi
fi
