#!/usr/bin/env bash
# The real program on a desktop of two monitors side by side (two RandR
# monitors of one virtual X screen, which Qt takes as two screens):
#   - a placement wholly on the second monitor opens there;
#   - when that monitor is removed while the program runs, the window comes
#     wholly onto the first;
#   - the next start, with the second monitor still gone, opens there too.
#
#   monitors.sh <tabulo binary> <scratch folder> <screencheck binary>
set -euo pipefail

# One 2560 x 1024 screen; kept as it is while no client is connected (the
# monitors would go with a reset of the server).
export E2E_SCREEN=2560x1024x24 E2E_XVFB_ARGS=-noreset
source "$(dirname "$0")/support/display.sh"
e2e_display xrandr xdotool xwininfo -- "$@"

# The left monitor takes the screen's output (so the screen itself is no
# monitor of its own), the right one none.
xrandr --setmonitor left 1280/338x1024/270+0+0 screen >/dev/null
xrandr --setmonitor right 1280/338x1024/270+1280+0 none >/dev/null
monitors=$(xrandr --listmonitors)
[[ $monitors == *"Monitors: 2"* ]] || fail "no two monitors: $monitors"
echo "$monitors"

# The main window left wholly on the right monitor by an earlier run.
mkdir -p "$XDG_CONFIG_HOME/Tabulo"
printf '[Tabulo]\nChartPlace\\Left=1600\nChartPlace\\Top=100\nChartPlace\\Height=350\nChartPlace\\Width=282\n' \
    >"$XDG_CONFIG_HOME/Tabulo/placements.conf"

corner() { xwininfo -id "$wid" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x "," y}'; }

e2e_start_program
within 10 eval '[ "$(corner)" = 1600,100 ]' || fail "the window opened at $(corner), not on the right monitor at 1600,100"
echo "opened on the right monitor at $(corner)"

# Unplugged: the window comes wholly onto the left monitor (1280 - 282 = 998).
xrandr --delmonitor right >/dev/null
within 10 eval '[ "$(corner)" = 998,100 ]' || fail "after the right monitor went the window is at $(corner), not 998,100"
echo "right monitor removed: the window moved to $(corner)"
e2e_stop_program
pid=

# Started again without the right monitor: the saved placement (still on
# the right) opens on the left one.
e2e_start_program
within 10 eval '[ "$(corner)" = 998,100 ]' || fail "the next start opened at $(corner), not 998,100"
echo "next start without the right monitor: $(corner)"
echo "e2e monitors: ok"
