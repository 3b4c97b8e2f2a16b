# The preamble of the end-to-end scripts, sourced by each of them. A script
# is called as
#   <script> <tabulo binary> <scratch folder> <screencheck binary>
# and starts with
#   source "$(dirname "$0")/support/display.sh"
#   e2e_display <tools it needs> -- "$@"
# Outside a display, e2e_display checks the tools (exit 77, skipped, when
# one is missing), empties the scratch folder, points XDG_CONFIG_HOME into
# it (a first run; the user's own settings untouched) and runs the script
# again on a virtual display of its own (parallel runs must not share one).
# On the display it sets bin, work and check and returns. The display is
# 1280 x 800 unless E2E_SCREEN gives another WIDTHxHEIGHTxDEPTH;
# E2E_XVFB_ARGS adds arguments of the X server.

e2e_display() {
    local tools=()
    while [ "$1" != -- ]; do
        tools+=("$1")
        shift
    done
    shift
    if [ "${1:-}" != --inner ]; then
        local tool
        for tool in xvfb-run "${tools[@]}"; do
            if ! command -v "$tool" >/dev/null 2>&1; then
                echo "skipped: $tool is not installed"
                exit 77
            fi
        done
        rm -rf "$2"
        mkdir -p "$2/config"
        export XDG_CONFIG_HOME="$2/config"
        export QT_QPA_PLATFORM=xcb
        exec xvfb-run -a -n $((100 + RANDOM % 400)) \
            -s "-screen 0 ${E2E_SCREEN:-1280x800x24} -noreset ${E2E_XVFB_ARGS:-}" bash "$0" --inner "$@"
    fi
    bin=$2 work=$3 check=$4
    pid=
    trap e2e_stop_all EXIT
}

fail() {
    echo "FAIL: $*"
    echo "--- program output:"
    cat "$work/tabulo.log" 2>/dev/null || true
    exit 1
}

# within SECONDS COMMAND...: waits for the command to succeed.
source "$(dirname "${BASH_SOURCE[0]}")/within.sh"

# Ends the program this script started (by its process id).
e2e_stop_program() {
    if [ -n "${pid:-}" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
}

# e2e_also_stop NAME...: the variables that hold the process ids of helpers
# the script starts (a window manager, a watcher, a compositor). When the
# script exits they are ended after the program, in the order given; a
# script that ends a helper itself empties its variable.
e2e_helper_vars=()
e2e_also_stop() {
    e2e_helper_vars+=("$@")
}
e2e_stop_all() {
    e2e_stop_program
    local name p
    for name in "${e2e_helper_vars[@]}"; do
        p=${!name:-}
        [ -n "$p" ] || continue
        kill "$p" 2>/dev/null || true
        wait "$p" 2>/dev/null || true
    done
}

# Starts the program (arguments: what to run, default "$bin") and sets pid
# and wid, the main window "Tabulo v. 1.3". The display runs with -noreset:
# otherwise Xvfb resets whenever its last client leaves and refuses the
# connections made meanwhile.
e2e_start_program() {
    [ $# -gt 0 ] || set -- "$bin"
    wid=
    "$@" >"$work/tabulo.log" 2>&1 &
    pid=$!
    shown() {
        wid=$(first_window --name '^Tabulo v\. 1\.3$')
        [ -n "$wid" ] && return 0
        kill -0 "$pid" 2>/dev/null || {
            local rc=0
            wait "$pid" || rc=$?
            pid=
            fail "the program ended before its window appeared (exit status $rc)"
        }
        return 1
    }
    within 30 shown || fail "no window \"Tabulo v. 1.3\" within 30 s"
    echo "window $wid"
}
