#!/usr/bin/env bash
# Builds the Debian package tabulo_<version>_<arch>.deb and checks it.
#
#   bash scripts/package.sh [build folder, default build-deb] [cmake arguments...]
#
# The package is made by CPack from the install rules (runtime dependencies
# computed by dpkg-shlibdeps); the AppStream metadata must pass
# `appstreamcli validate` and lintian must report no errors. The path of the
# package is the last line printed.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-deb}
shift || true
if [[ ! -f "$dir/CMakeCache.txt" ]]; then
  cmake -S . -B "$dir" -G Ninja -DBUILD_TESTING=OFF -DTABULO_BENCH=OFF "$@" >/dev/null
fi
# Only what is installed (an existing build folder may also hold the tests).
targets=(tabulo tabulo-chartpack chartpack packaging_files)
all_targets=$(ninja -C "$dir" -t targets all)
for companion in tabulo-ranges tabulo-trainer; do
  if grep -q "^$companion:" <<<"$all_targets"; then targets+=("$companion"); fi
done
cmake --build "$dir" --target "${targets[@]}"
rm -f "$dir"/tabulo_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/tabulo_*.deb)
appstreamcli validate --no-net "$dir"/*.metainfo.xml
lintian --fail-on error "$deb" || {
  echo "lintian found errors in $deb" >&2
  exit 1
}
echo "$deb"
