#!/usr/bin/env bash
# The real program on a virtual display: the main window "Tabulo v. 1.3"
# appears with a client area of 282 x 350 and the tabs "Custom", "Hands",
# "Position" and "About" in that order; the About tab shows the colour
# legend. Screenshots are left in the scratch folder.
#
#   tabulo.sh <tabulo binary> <scratch folder> <screencheck binary>
set -euo pipefail

if [ "${1:-}" != --inner ]; then
    for tool in xvfb-run xdotool xwininfo import; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "skipped: $tool is not installed"
            exit 77
        fi
    done
    work=$2
    rm -rf "$work"
    mkdir -p "$work/config"
    # A first run: no saved placement, and the user's own settings untouched.
    export XDG_CONFIG_HOME="$work/config"
    export QT_QPA_PLATFORM=xcb
    exec xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1280x800x24" bash "$0" --inner "$@"
fi

bin=$2 work=$3 check=$4
fail() {
    echo "FAIL: $*"
    echo "--- program output:"
    cat "$work/tabulo.log" 2>/dev/null || true
    exit 1
}

pid=
trap '[ -n "$pid" ] && { kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true; }' EXIT

# The main window, by its caption. The virtual display now and then refuses
# a connection right after it starts; such a start is tried again.
wid=
for attempt in 1 2 3; do
    "$bin" >"$work/tabulo.log" 2>&1 &
    pid=$!
    deadline=$((SECONDS + 30))
    while [ -z "$wid" ]; do
        wid=$(xdotool search --onlyvisible --name '^Tabulo v\. 1\.3$' 2>/dev/null | head -n 1) || true
        [ -n "$wid" ] && break
        kill -0 $pid 2>/dev/null || break
        [ $SECONDS -lt $deadline ] || fail "no window \"Tabulo v. 1.3\" within 30 s"
        sleep 0.1
    done
    [ -n "$wid" ] && break
    wait $pid 2>/dev/null || true
    grep -q "could not connect to display" "$work/tabulo.log" ||
        fail "the program ended before its window appeared"
    echo "attempt $attempt: the display refused the connection; starting again"
    sleep 0.5
done
[ -n "$wid" ] || fail "the display refused every connection"
echo "window $wid"

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
