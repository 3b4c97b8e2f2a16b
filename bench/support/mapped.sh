# Sourced by the launch benchmarks: mapped_ms NAME COMMAND... starts a
# program and prints the milliseconds until a visible window of that name is
# mapped, or -1 when none appears within 20 s. Needs $work for the log.
#
# launch_ms TITLE COMMAND... does the same for the window with exactly that
# title, timed by the event that made the window viewable when $screencheck
# names the end-to-end helper (`screencheck launch`, microsecond
# resolution); otherwise it falls back on mapped_ms, which polls xdotool
# every 5 ms and so adds about as much to every figure.

now() { date +%s%N; }
# Starts a program and prints the milliseconds until a visible window with
# the given name is mapped.
mapped_ms() {
    local name=$1
    shift
    local t0 pid t1
    t0=$(now)
    "$@" >"$work/last.log" 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "$name" >/dev/null 2>&1; do
        if ! kill -0 $pid 2>/dev/null || [ $((($(now) - t0) / 1000000000)) -ge 20 ]; then
            echo "no window \"$name\" from $* (pid $pid alive: $(kill -0 $pid 2>/dev/null && echo yes || echo no))" >&2
            sed 's/^/  | /' "$work/last.log" >&2
            kill $pid 2>/dev/null || true
            echo -1
            return
        fi
        sleep 0.005
    done
    t1=$(now)
    kill $pid
    wait $pid 2>/dev/null || true
    echo $(((t1 - t0) / 1000000))
}

launch_ms() {
    local title=$1
    shift
    if [ -x "${screencheck:-}" ]; then
        local ms
        if ms=$("$screencheck" launch "$title" "$@" 2>"$work/last.log"); then
            echo "$ms"
        else
            echo "no window \"$title\" from $*" >&2
            sed 's/^/  | /' "$work/last.log" >&2
            echo -1
        fi
    else
        mapped_ms "^$(printf '%s' "$title" | sed 's/[].[^$*\\]/\\&/g')\$" "$@"
    fi
}
