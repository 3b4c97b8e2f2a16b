#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as $1, with any
# further arguments passed to cmake). With TABULO_TARGETS set (a list of
# target names), only those targets and what they need are built.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
# Compiler cache entries name files relative to the checkout and leave its
# folder out of the hash, so a clean checkout elsewhere reuses them.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
shift || true
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
# shellcheck disable=SC2086 # the list is split into target names on purpose
cmake --build "$dir" ${TABULO_TARGETS:+--target $TABULO_TARGETS}
