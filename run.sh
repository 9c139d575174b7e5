#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what is missing, builds the program, and starts paramcurve: only
# the packages and targets the program itself needs (./check.sh builds and
# installs the rest). One line per stage; the details go to build-setup.log.
set -euo pipefail
cd "$(dirname "$0")"
log=build-setup.log
: > "$log"

stage() {
    echo "$1"
    shift
    "$@" >> "$log" 2>&1 || { cat "$log"; echo "Failed; the details are above and in $log." >&2; exit 1; }
}

stage "Installing the packages paramcurve needs (only those missing)…" scripts/setup.sh --packages program
if [ -f build/CMakeCache.txt ]; then
    # Whatever else the folder was configured for stays as it is.
    stage "Configuring build/ (configured before; brought up to date)…" cmake build
else
    stage "Configuring build/…" cmake -S . -B build -DPARAMCURVE_TESTS=OFF -DPARAMCURVE_BENCHMARKS=OFF
fi
stage "Building paramcurve…" cmake --build build -j"$(nproc)" --target paramcurve
echo "Starting paramcurve"
exec build/app/paramcurve
