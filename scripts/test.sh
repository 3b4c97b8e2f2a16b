#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh build -DBUILD_TESTING=ON -DTABULO_BENCH=ON
ctest --test-dir build --output-on-failure -j2 -LE e2e
# The end-to-end checks drive real windows on virtual displays, one at a
# time. They poll for a settled state and are never retried.
ctest --test-dir build --output-on-failure -L e2e
