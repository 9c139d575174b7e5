#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a screen reader meets it: on an X server of its own (Xvfb)
# and a session bus of its own (dbus-run-session) with the accessibility bus
# (at-spi2-core), paramcurve runs with the toolkit's accessibility on, and
# scripts/atspi-walk.py (pyatspi) walks its tree: every input has a name,
# the promised names are there, a changed colour is read anew, and the pen's
# readout is heard after a trace.
# Skipped, with a line saying so, where those packages are not installed.
#   scripts/check-atspi.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher

missing=()
command -v Xvfb > /dev/null || missing+=(xvfb)
command -v dbus-run-session > /dev/null || missing+=(dbus)
[ -x "$launcher" ] || missing+=(at-spi2-core)
/usr/bin/python3 -c 'import pyatspi' 2> /dev/null || missing+=(python3-pyatspi)
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIPPED: the walk over the accessibility bus needs the Debian packages ${missing[*]}, which are not installed"
    exit 0
fi

started=()
work=$(mktemp -d)
finish() {
    stop_started
    rm -rf "$work"
}
trap finish EXIT
source "$here/xvfb.sh"
start_server 1280x1024

# Inside the session: the accessibility bus, the program, the walk; the
# session bus and everything on it end with the session.
session() {
    "$launcher" --launch-immediately > "$work/bus.log" 2>&1 &
    # Settings of its own, with the readout on.
    mkdir -p "$work/config/paramcurve"
    printf '[readout]\nshowPosition=true\n' > "$work/config/paramcurve/paramcurve.conf"
    XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
        "$build/app/paramcurve" > "$work/program.log" 2>&1 &
    local program=$! status=0
    /usr/bin/python3 "$here/atspi-walk.py" 60 > "$work/walk.log" 2>&1 || status=$?
    kill "$program" 2> /dev/null || true
    wait "$program" 2> /dev/null || true
    return "$status"
}
export -f session
export launcher build here work
if dbus-run-session -- bash -c session 2> "$work/session.log"; then
    grep -E '^[0-9]+ inputs|colour indicator|pen readout' "$work/walk.log" | sed 's/^/accessibility bus: /'
    echo "accessibility bus: every input has a name: ok"
else
    cat "$work/walk.log"
    echo "The program's output:"
    cat "$work/program.log"
    echo "FAILED: the walk over the accessibility bus"
    exit 1
fi
