#!/usr/bin/env bash
# Finds pipelines in the project's shell scripts that fail at random under
# `set -o pipefail`: a reader that stops early (`grep -q`, `grep -m`,
# `head`) lets the writer die of SIGPIPE, and the pipeline then reports a
# failure although the match was found. Capture the output, then match it.
#
#   check_pipelines.sh <source tree>    lists offenders; exit 1 if any
#   check_pipelines.sh --self-test      proves the check finds the pattern
set -euo pipefail

early_reader='\|[[:space:]]*(grep[[:space:]]+(-[a-zA-Z]*[qm]|--quiet|--max-count)|head([[:space:]]|$))'

offenders() {
    local file status=0 hits
    for file in "$@"; do
        hits=$(grep -nE "$early_reader" "$file" | grep -vE '^[0-9]+:[[:space:]]*#') || true
        if [ -n "$hits" ]; then
            printf '%s:%s\n' "$file" "${hits//$'\n'/$'\n'"$file":}"
            status=1
        fi
    done
    return $status
}

if [ "${1:-}" = --self-test ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    local_pipe='|' # kept apart so that this file does not report itself
    printf 'ninja -t targets all %s grep -q "^x:"\n' "$local_pipe" >"$tmp/a.sh"
    printf 'id=$(xdotool search --name x %s head -n 1)\n' "$local_pipe" >"$tmp/b.sh"
    printf 'xprop -root %s grep -m1 WM\n' "$local_pipe" >"$tmp/c.sh"
    printf 'out=$(ninja -t targets all)\n# a comment: producer %s grep -q x\n[[ $out == *x* ]]\ngrep -q x file\n' \
        "$local_pipe" >"$tmp/ok.sh"
    for bad in a b c; do
        if offenders "$tmp/$bad.sh" >/dev/null; then
            echo "FAIL: the pipeline in $bad.sh was not found"
            exit 1
        fi
    done
    offenders "$tmp/ok.sh" || { echo "FAIL: a sound script was reported"; exit 1; }
    echo "self-test: ok"
    exit 0
fi

root=${1:?usage: check_pipelines.sh <source tree> | --self-test}
mapfile -t scripts < <(cd "$root" && git ls-files -co --exclude-standard -- '*.sh' '.ci/*' 2>/dev/null ||
    find . -name '*.sh' -not -path './build*')
cd "$root"
offenders "${scripts[@]}" || {
    echo "These pipelines can fail at random under pipefail; capture the output, then match:"
    exit 1
}
echo "no early-closing pipelines in ${#scripts[@]} scripts"
