#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh build -DBUILD_TESTING=ON -DTABULO_BENCH=ON
ctest --test-dir build --output-on-failure -j2
