#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The two windows on a real X server (Xvfb), bare and under the openbox window
# manager:
#   - each frame has the layout's outer size at the layout's position (the
#     client geometry from xwininfo plus _NET_FRAME_EXTENTS from xprop): the
#     control panel 320 x 559 at (7, 8), the plot window 545 x 560 at (327, 6);
#   - after every early end of "Kresli" the screen shows the plane
#     (test_planeshown, run on the X server instead of offscreen);
#   - on screens of 1280 x 1024, 1920 x 1080 and 2560 x 1600 under openbox,
#     with QT_SCALE_FACTOR=1.5 and 2, the windows are scaled by the largest
#     whole factor at which both fit, frames included, and lie on the screen.
# Skipped, with a line saying so, where Xvfb, openbox or the X utilities are
# not installed.
#   scripts/check-x11.sh BUILD_DIR [TEST_BUILD_DIR]
# The program comes from BUILD_DIR, test_planeshown from TEST_BUILD_DIR
# (BUILD_DIR unless given).
set -euo pipefail
build=$(cd "$1" && pwd)
test_build=$(cd "${2:-$1}" && pwd)

missing=()
for tool in Xvfb openbox xwininfo xprop; do
    command -v "$tool" > /dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIPPED: the check on an X server needs ${missing[*]} (Debian packages xvfb, openbox, x11-utils), which are not installed"
    exit 0
fi

started=()
work=$(mktemp -d)
finish() {
    stop_started
    rm -rf "$work"
}
trap finish EXIT
source "$(dirname "$0")/xvfb.sh"

server=""
window_manager=""

stop_server() {
    local pid
    for pid in $window_manager $server; do
        kill "$pid" 2> /dev/null || true
        wait "$pid" 2> /dev/null || true
    done
    window_manager=""
    server=""
}

start_openbox() {
    openbox --sm-disable > "$work/openbox.log" 2>&1 &
    window_manager=$!
    started+=("$window_manager")
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    if ! xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id'; then
        echo "FAILED: openbox did not start"
        cat "$work/openbox.log"
        exit 1
    fi
}

start_server 1280x1024
export QT_QPA_PLATFORM=xcb
failures=0

# The outer geometry WxH+X+Y of the top-level window titled $1, or nothing.
outer_geometry() {
    local id info x y w h extents left right top bottom
    id=$(xwininfo -root -tree | grep -F "\"$1\": (" | awk '{print $1; exit}')
    [ -n "$id" ] || return 0
    info=$(xwininfo -id "$id")
    x=$(awk '/Absolute upper-left X/ {print $4}' <<< "$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<< "$info")
    w=$(awk '/^ *Width:/ {print $2}' <<< "$info")
    h=$(awk '/^ *Height:/ {print $2}' <<< "$info")
    extents=$(xprop -id "$id" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ' ')
    IFS=, read -r left right top bottom <<< "${extents:-0,0,0,0}"
    echo "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))"
}

report_frame() {
    local setting=$1 title=$2 expected=$3 got=$4
    if [ "$got" = "$expected" ]; then
        echo "$setting: $title outer frame $got: ok"
    else
        echo "FAILED: $setting: $title outer frame ${got:-not found}, expected $expected"
        failures=$((failures + 1))
    fi
}

# Starts the program and waits (up to 30 s, for a busy machine) for both
# frames to settle where the layouts put them; reports where they are.
check_frames() {
    local setting=$1 pid panel plot before=$failures
    "$build/app/paramcurve" > "$work/program.log" 2>&1 &
    pid=$!
    started+=("$pid")
    for _ in $(seq 300); do
        panel=$(outer_geometry "Control_Panel")
        plot=$(outer_geometry "Parametric Curve")
        [ "$panel" = "320x559+7+8" ] && [ "$plot" = "545x560+327+6" ] && break
        sleep 0.1
    done
    report_frame "$setting" "Control_Panel" "320x559+7+8" "$panel"
    report_frame "$setting" "Parametric Curve" "545x560+327+6" "$plot"
    if [ "$failures" -ne "$before" ]; then
        echo "The program's output:"
        cat "$work/program.log"
        echo "The X server's windows:"
        xwininfo -root -tree | grep -v '(has no name)'
    fi
    kill "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
}

check_plane_shown() {
    local setting=$1
    if ASAN_OPTIONS=detect_leaks=0 "$test_build/tests/test_planeshown" > "$work/test.log" 2>&1; then
        echo "$setting: the screen shows the plane after every early end: ok ($(grep '^Totals' "$work/test.log"))"
    else
        echo "FAILED: $setting: test_planeshown"
        cat "$work/test.log"
        failures=$((failures + 1))
    fi
}

check_frames "bare X server"
check_plane_shown "bare X server"

start_openbox
check_frames "openbox"
check_plane_shown "openbox"

# Whether the frame WxH+X+Y ($1) is the layout's frame $2 scaled by $3, and
# lies on a screen of $4. The toolkit gives a window manager's frame margins
# in whole logical pixels, each rounded by up to half of $3 screen pixels, so
# a size or position may be off by up to $3.
scaled_frame_ok() {
    local w h x y lw lh lx ly k=$3 sw sh
    IFS='x+' read -r w h x y <<< "$1"
    IFS='x+' read -r lw lh lx ly <<< "$2"
    IFS='x' read -r sw sh <<< "$4"
    [ -n "$y" ] || return 1
    for pair in "$w $((lw * k))" "$h $((lh * k))" "$x $((lx * k))" "$y $((ly * k))"; do
        set -- $pair
        [ $(( $1 > $2 ? $1 - $2 : $2 - $1 )) -le "$k" ] || return 1
    done
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$sw" ] && [ $((y + h)) -le "$sh" ]
}

# The program with QT_SCALE_FACTOR=$2 on the screen of $1: both frames at the
# layout's scaled by $3.
check_scaled_frames() {
    local size=$1 asked=$2 k=$3 pid panel plot before=$failures setting
    setting="$size, QT_SCALE_FACTOR=$asked"
    QT_SCALE_FACTOR=$asked "$build/app/paramcurve" > "$work/program.log" 2>&1 &
    pid=$!
    started+=("$pid")
    for _ in $(seq 300); do
        panel=$(outer_geometry "Control_Panel")
        plot=$(outer_geometry "Parametric Curve")
        scaled_frame_ok "$panel" 320x559+7+8 "$k" "$size" && scaled_frame_ok "$plot" 545x560+327+6 "$k" "$size" \
            && break
        sleep 0.1
    done
    for window in "Control_Panel:$panel:320x559+7+8" "Parametric Curve:$plot:545x560+327+6"; do
        IFS=: read -r title got layout <<< "$window"
        if scaled_frame_ok "$got" "$layout" "$k" "$size"; then
            echo "$setting: $title outer frame $got, scaled by $k, on the screen: ok"
        else
            echo "FAILED: $setting: $title outer frame ${got:-not found}, expected $layout scaled by $k on the screen"
            failures=$((failures + 1))
        fi
    done
    if [ "$failures" -ne "$before" ]; then
        echo "The program's output:"
        cat "$work/program.log"
    fi
    kill "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
}

# Both windows span 872 x 567 at a factor of 1: 2 fits only the largest screen.
for screen in 1280x1024:1 1920x1080:1 2560x1600:2; do
    IFS=: read -r size k <<< "$screen"
    stop_server
    start_server "$size"
    start_openbox
    check_scaled_frames "$size" 1.5 "$k"
    check_scaled_frames "$size" 2 "$k"
done

[ "$failures" -eq 0 ]
