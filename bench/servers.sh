# Shell functions the benchmark scripts share, sourced by them: installing
# a reference they need, finding free loopback ports, and starting vexalink
# (and the references) on them. Not a program of its own.

readonly bench_start_timeout_tenths=100  # 10 s in steps of 0.1 s
readonly bench_lowest_port=20000
readonly bench_port_range=40000

# Installs the Debian packages given that are missing.
bench_install_missing() {
    local missing=() package status
    for package in "$@"; do
        status="$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)"
        if [[ "$status" != "install ok installed" ]]; then
            missing+=("$package")
        fi
    done
    if ((${#missing[@]})); then
        echo "${0##*/}: installing ${missing[*]}"
        local sudo_cmd=()
        if [[ "$(id -u)" != 0 ]]; then
            sudo_cmd=(sudo)
        fi
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get update -q
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
}

bench_accepts() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# A port that nothing listens on now and that is none of the ports given;
# another program may still take it before the server does, which
# bench_wait_for reports.
bench_free_port() {
    local port taken
    while :; do
        port=$((bench_lowest_port + (RANDOM * 32768 + RANDOM) % bench_port_range))
        for taken in "$@"; do
            [[ "$port" == "$taken" ]] && continue 2
        done
        if ! bench_accepts "$port"; then
            echo "$port"
            return
        fi
    done
}

# Waits until program NAME (process PID, writing to LOG) takes connections
# on PORT; ends the script with the log's tail when it does not.
bench_wait_for() {
    local name="$1" port="$2" pid="$3" log="$4" tenths
    for ((tenths = 0; tenths < bench_start_timeout_tenths; ++tenths)); do
        if bench_accepts "$port"; then
            return
        fi
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "${0##*/}: $name exited before listening on port $port:" >&2
            tail -n 20 "$log" >&2
            exit 1
        fi
        sleep 0.1
    done
    echo "${0##*/}: $name does not accept connections on port $port after 10 s:" >&2
    tail -n 20 "$log" >&2
    exit 1
}

# Starts vexalink on the TCP path at PORT with settings and a runtime
# directory of its own under WORK, and the further arguments given; sets
# vexalink_pid and waits until it serves. Its output goes to WORK/vexalink.out.
# It runs without a screen, minimised, unless VEXALINK_DISPLAY names an X
# display to show its window on (to watch its windows during a run).
bench_start_vexalink() {
    local server="$1" work="$2" port="$3"
    shift 3
    mkdir -p "$work/config" "$work/runtime"
    chmod 700 "$work/runtime"
    printf '[VEXA-Com]\r\nDataPath=110\r\nPort=%d\r\n' "$port" >"$work/config/VexaDisplay.ini"
    local screen=(env QT_QPA_PLATFORM=offscreen) shown=(--minimized)
    if [[ -n "${VEXALINK_DISPLAY:-}" ]]; then
        screen=(env QT_QPA_PLATFORM=xcb DISPLAY="$VEXALINK_DISPLAY")
        shown=()
    fi
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" "${screen[@]}" \
        "$server" "${shown[@]}" "$@" >"$work/vexalink.out" 2>&1 &
    vexalink_pid=$!
    bench_wait_for vexalink "$port" "$vexalink_pid" "$work/vexalink.out"
}

# Ends each process given by its id and waits for it.
bench_stop() {
    local pid
    for pid in "$@"; do
        if [[ -n "$pid" ]]; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
}
