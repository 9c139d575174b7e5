#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what is missing, builds, and starts paramcurve.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh build > build-setup.log 2>&1 || { cat build-setup.log; exit 1; }
exec build/app/paramcurve
