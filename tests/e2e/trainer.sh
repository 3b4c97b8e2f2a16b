#!/usr/bin/env bash
# The trainer under a window manager (openbox) on a virtual display: twenty
# questions answered with the keys (1, then Space), each answer in the
# history's reviews table as it is given; then Alt+S opens the statistics
# view, whose title counts the twenty answers. Killed with SIGKILL after
# more answers, it has lost none of them, and a new trainer goes on with
# the same history.
#
#   trainer.sh <tabulo binary> <scratch folder> <screencheck binary>
set -euo pipefail
source "$(dirname "$0")/support/display.sh"
e2e_display openbox xdotool xprop sqlite3 -- "$@"

trainer="$(dirname "$bin")/tools/tabulo-trainer"
[ -x "$trainer" ] || { echo "skipped: no tabulo-trainer beside the program"; exit 77; }
export XDG_DATA_HOME="$work/data"
history="$XDG_DATA_HOME/tabulo/trainer.sqlite"
wm=
e2e_also_stop wm

# openbox is the display's first client: Xvfb resets when its last client
# leaves, and refuses connections while it does.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
within 10 eval '[[ "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)" == *"window id"* ]]' ||
    fail "openbox did not start: $(cat "$work/openbox.log")"

# No file named: the user's own ranges, made from the default file.
"$trainer" >"$work/tabulo.log" 2>&1 &
pid=$!
find_trainer() { wid=$(first_window --name '^Tabulo trainer') && [ -n "$wid" ]; }
within 30 find_trainer || fail "no window \"Tabulo trainer\" within 30 s"
[ -f "$XDG_DATA_HOME/tabulo/ranges.txt" ] || fail "the user's range file was not made"
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
focused() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$wid" ]; }
within 10 focused || fail "the trainer window does not get the focus"

rows() {
    local n
    n=$(sqlite3 -readonly "$history" 'SELECT count(*) FROM reviews' 2>/dev/null) || return 1
    echo "$n"
}
for i in $(seq 1 20); do
    xdotool key 1
    answered() { [ "$(rows)" = "$i" ]; }
    within 10 answered || fail "answer $i is not in the history (rows: $(rows || echo none))"
    xdotool key space
done
echo "20 answers stored"

xdotool key alt+s
find_stats() { xdotool search --onlyvisible --name '^Tabulo trainer - statistics \(20 answers\)$' >/dev/null 2>&1; }
within 10 find_stats || fail "the statistics view does not count 20 answers"
[ "$(sqlite3 -readonly "$history" 'PRAGMA journal_mode')" = wal ] || fail "the history is not in WAL mode"
echo "the statistics view counts them"

# Answers 21 to 23, then kill -9 in the middle of the session.
xdotool key Escape
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
within 10 focused || fail "the trainer window does not get the focus back"
answer() {
    local i=$1
    xdotool key 1
    answered() { [ "$(rows)" = "$i" ]; }
    within 10 answered || fail "answer $i is not in the history (rows: $(rows || echo none))"
    xdotool key space
}
for i in 21 22 23; do answer "$i"; done
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
pid=
[ "$(rows)" = 23 ] || fail "answers were lost to kill -9 (rows: $(rows || echo none))"
[ "$(sqlite3 "$history" 'PRAGMA integrity_check')" = ok ] || fail "the history is damaged after kill -9"
"$trainer" >"$work/tabulo.log" 2>&1 &
pid=$!
within 30 find_trainer || fail "no trainer window after the kill"
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
within 10 focused || fail "the new trainer window does not get the focus"
answer 24
echo "e2e trainer: ok"
