# Sourced by the launch benchmarks: mapped_ms NAME COMMAND... starts a
# program and prints the milliseconds until a visible window of that name is
# mapped, or -1 when none appears within 20 s. Needs $work for the log.

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
