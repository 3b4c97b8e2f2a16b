#!/usr/bin/env bash
# Launch to window mapped, on a virtual display: Tabulo side by side with feh
# showing one picture and with a plain Qt window (the floor any Qt program
# pays), alternating, N runs each; then Tabulo's in-process first-paint time
# and resident memory.
#
#   bash bench/app/launch.sh <build folder> [runs] [build folder of another version]
#
# With a second build folder, its program is measured in the same rounds
# ("before"), so the two versions compare on equal terms. The launches are
# timed by the end-to-end helper `screencheck launch` when the build folder
# has it (or $SCREENCHECK names it), else by polling xdotool, which adds
# a few milliseconds to every figure and so brings the ratios nearer 1.
set -euo pipefail
if [ "${1:-}" != --inner ]; then
    build=$(cd "${1:-build}" && pwd)
    other=
    [ -n "${3:-}" ] && other=$(cd "$3" && pwd)
    exec xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1280x800x24 -noreset" bash "$0" --inner "$build" "${2:-20}" "$other"
fi
build=$2 runs=$3 other=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
pictures=("$build"/img/Positions/*.png)
picture=${pictures[0]}
[ -e "$picture" ] || picture=
if [ -z "$picture" ]; then
    picture=$work/chart.png
    convert -size 467x467 xc:'#c0c0c0' "$picture"
fi

source "$(dirname "$0")/../support/mapped.sh"
screencheck=${SCREENCHECK:-$build/tests/e2e/screencheck}
[ -x "$screencheck" ] || echo "no $screencheck: timing by polling xdotool (coarse)"
median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }

minimal=$build/bench/app/bench_app_minimalwindow
tabulo=() feh=() qt=() before=()
for _ in $(seq "$runs"); do
    tabulo+=("$(launch_ms 'Tabulo v. 1.3' "$build/tabulo")")
    rm -rf "$XDG_CONFIG_HOME"
    if [ -n "$other" ]; then
        before+=("$(launch_ms 'Tabulo v. 1.3' "$other/tabulo")")
        rm -rf "$XDG_CONFIG_HOME"
    fi
    if command -v feh >/dev/null; then
        feh+=("$(launch_ms fehbench feh --title fehbench "$picture")")
    fi
    if [ -x "$minimal" ]; then
        qt+=("$(launch_ms 'Qt minimal window' "$minimal")")
    fi
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
# A launch whose display refused the connection prints -1: left out.
valid() { printf '%s\n' "$@" | awk '$1 >= 0'; }
echo "launch to window mapped, median of $runs runs:"
t=$(valid "${tabulo[@]}" | median) f=0
echo "  tabulo:     $t ms  (all: ${tabulo[*]})"
if [ ${#feh[@]} -gt 0 ]; then
    f=$(valid "${feh[@]}" | median)
    echo "  feh:        $f ms  (all: ${feh[*]})  tabulo/feh $(ratio "$t" "$f")"
else
    echo "  feh:        not installed, no comparison"
fi
if [ ${#before[@]} -gt 0 ]; then
    b=$(valid "${before[@]}" | median)
    echo "  before:     $b ms  (all: ${before[*]})  before/feh $(ratio "$b" "$f")  ($other)"
fi
if [ ${#qt[@]} -gt 0 ]; then
    q=$(valid "${qt[@]}" | median)
    echo "  Qt minimal: $q ms  (all: ${qt[*]})  tabulo/Qt minimal $(ratio "$t" "$q")"
fi
"$build/bench/app/bench_app_startup" --once
