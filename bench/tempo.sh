#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tempo of a trace in the real window (run by hand): starts Xvfb on the
# given display, openbox on it (unless --bare), paramcurve with its inputs at
# start, then bench_tempo, and stops what it started.
#   bench/tempo.sh BUILD_DIR DISPLAY [--bare] [benchmark options...]
# Needs the packages xvfb, openbox, xdotool and x11-utils.
set -euo pipefail

build=$(realpath "$1")
display=$2
shift 2
window_manager=1
if [ "${1:-}" = "--bare" ]; then
    window_manager=0
    shift
fi

for tool in Xvfb xdotool xdpyinfo; do
    command -v "$tool" > /dev/null || { echo "tempo.sh: $tool is missing" >&2; exit 2; }
done
[ "$window_manager" = 0 ] || command -v openbox > /dev/null || { echo "tempo.sh: openbox is missing" >&2; exit 2; }

started=()
stop_all() {
    for pid in "${started[@]}"; do
        kill "$pid" 2> /dev/null || true
        wait "$pid" 2> /dev/null || true  # the display is free again for the next run
    done
}
trap stop_all EXIT

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
started=($! "${started[@]}")
export DISPLAY=$display
for _ in $(seq 50); do
    xdpyinfo > /dev/null 2>&1 && break
    sleep 0.1
done
# Xvfb gives up at once when the display is taken by another server.
kill -0 "${started[0]}" 2> /dev/null || { echo "tempo.sh: Xvfb did not start on $display" >&2; exit 2; }
if [ "$window_manager" = 1 ]; then
    openbox > /dev/null 2>&1 &
    started=($! "${started[@]}")
    sleep 1
fi
"$build/app/paramcurve" > /dev/null 2>&1 &
started=($! "${started[@]}")
xdotool search --sync --name "Parametric Curve" > /dev/null
sleep 1  # the windows settle at their places

"$build/bench/bench_tempo" "$@"
