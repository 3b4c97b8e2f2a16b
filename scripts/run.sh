#!/usr/bin/env bash
# Installs what is missing, builds the viewer and its default chart pack
# (not the tests and benchmarks: scripts/test.sh builds those into the same
# folder), and runs it. Without a display it runs on a virtual one and saves
# a screenshot to build/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --run
TABULO_TARGETS="tabulo chartpack" bash scripts/build.sh build -DBUILD_TESTING=OFF -DTABULO_BENCH=OFF
bin=build/tabulo
if [ -n "${DISPLAY:-}" ]; then
  exec "$bin"
fi
xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash -c '
  "$0" & pid=$!
  for _ in $(seq 50); do
    xdotool search --name "Tabulo" >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 0.5
  import -window root build/screenshot.png
  echo "Screenshot: build/screenshot.png"
  kill $pid
' "$bin"
