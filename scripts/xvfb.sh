# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the checks on an X server of their own. Needs $work (a temporary
# folder) and an array `started`, whose processes the caller's exit trap ends.

# Starts an X server with a screen of $1 (WxH), sets $server to its process
# and makes it the display. Xvfb picks a free display and writes its number
# once it is ready.
# -noreset: the server would start afresh, refusing connections for a moment,
# each time its last client (xwininfo here) leaves.
start_server() {
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3> "$work/display" 2> "$work/xvfb.log" &
    server=$!
    started+=("$server")
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$work/display" ]; then
        echo "FAILED: Xvfb did not start"
        cat "$work/xvfb.log"
        exit 1
    fi
    export DISPLAY=":$(head -n 1 "$work/display")"
}

# Ends every process in `started`.
stop_started() {
    local pid
    for pid in "${started[@]}"; do
        kill "$pid" 2> /dev/null || true
        wait "$pid" 2> /dev/null || true
    done
}
