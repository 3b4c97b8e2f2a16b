#!/usr/bin/env bash
# Launch to window mapped for tabulo-trainer on a virtual display, over a
# history of 100,000 answers, beside a plain Qt window (the floor any Qt
# program pays), alternating, N runs each; medians in milliseconds.
#
#   bash bench/tools/trainer_launch.sh <build folder> [runs]
set -euo pipefail
if [ "${1:-}" != --inner ]; then
    build=$(cd "${1:-build}" && pwd)
    exec xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1280x800x24 -noreset" bash "$0" --inner "$build" "${2:-20}"
fi
build=$2 runs=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=xcb
trainer=$build/tools/tabulo-trainer
minimal=$build/bench/app/bench_app_minimalwindow
command -v sqlite3 >/dev/null || { echo "needs sqlite3 (scripts/deps.sh installs it)" >&2; exit 1; }

source "$(dirname "$0")/../support/mapped.sh"
# The median of the runs that mapped a window (a refused start prints -1).
median() { sort -n | awk '$1 >= 0 {a[++n] = $1} END {print n ? a[int((n + 1) / 2)] " ms (" n " runs)" : "none"}'; }

# A first run makes the range file and the history; then 100,000 answers.
mapped_ms '^Tabulo trainer' "$trainer" >/dev/null
ranges=$(readlink -f "$XDG_DATA_HOME/tabulo/ranges.txt")
sqlite3 "$XDG_DATA_HOME/tabulo/trainer.sqlite" <<SQL
CREATE TEMP TABLE s(k, name);
INSERT INTO s VALUES (0, 'UTG'), (1, 'MP'), (2, 'CO'), (3, 'BU'), (4, 'SB'), (5, 'MPvsUTG'),
    (6, 'COvsMP'), (7, 'BUvsCO'), (8, 'SBvsBU'), (9, 'BBvsSB'), (10, 'UTGvsMP'), (11, 'COvsBU');
CREATE TEMP TABLE h(k, name);
INSERT INTO h VALUES (0, 'AA'), (1, 'AKs'), (2, 'AKo'), (3, 'KQs'), (4, 'AJo'), (5, 'T9s'),
    (6, '72o'), (7, '55');
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 99999)
INSERT INTO reviews(time, range_file, spot, hand, cards, answer, correct, mode, roll, answer_ms)
SELECT 1800000000000 + i, '$ranges', s.name, h.name, 'A♠ K♠', 'raise', i % 3 != 0, 'roll', 50, 900
FROM n JOIN s ON s.k = i % 12 JOIN h ON h.k = i % 8;
SQL
echo "history: $(sqlite3 "$XDG_DATA_HOME/tabulo/trainer.sqlite" 'SELECT count(*) FROM reviews') answers"

trainer_ms=() qt_ms=()
for _ in $(seq "$runs"); do
    trainer_ms+=("$(mapped_ms '^Tabulo trainer' "$trainer")")
    [ -x "$minimal" ] && qt_ms+=("$(mapped_ms 'minimal' "$minimal")")
done
echo "tabulo-trainer, launch to window mapped: median $(printf '%s\n' "${trainer_ms[@]}" | median)"
[ ${#qt_ms[@]} -gt 0 ] && echo "plain Qt window: median $(printf '%s\n' "${qt_ms[@]}" | median)"
true
