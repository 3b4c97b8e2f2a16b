# Sourced by the end-to-end scripts and scripts/screenshots.sh.

# Waits up to $1 seconds for the command after it to succeed.
within() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

# first_window ARGS...: the id of the first visible window that
# `xdotool search --onlyvisible ARGS...` finds, or nothing. The whole list is
# read before it is cut, so that no pipe closes early under pipefail.
first_window() {
    local ids
    ids=$(xdotool search --onlyvisible "$@" 2>/dev/null) || true
    printf '%s\n' "${ids%%$'\n'*}"
}
