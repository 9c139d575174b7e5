#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The web page's checks: installs what they need (setup.sh's web group),
# builds the page into a temporary folder, and runs web/tests/*.test.mjs with
# Node's own test runner: the modules' unit tests, and the page in Debian's
# Chromium, headless, through puppeteer-core, served by web/tools/serve.mjs
# on a free port of 127.0.0.1. The comparisons with the desktop's renderer
# take build/app/paramcurve-render (./check.sh builds it) or the one
# PARAMCURVE_RENDER names, and are skipped, with the reason, without one.
#   scripts/check-web.sh              build the page, then test it
#   scripts/check-web.sh --site DIR   test the page web.sh built into DIR
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --packages web
work=$(mktemp -d "${TMPDIR:-/tmp}/paramcurve-check-web.XXXXXX")
trap 'rm -rf "$work"' EXIT

site="$work/site"
if [ "${1:-}" = --site ]; then
    site=$(cd "${2:?usage: scripts/check-web.sh [--site DIR]}" && pwd)
else
    echo "Building the page into $site…"
    ./web.sh --build --out "$site"
fi
# Most tests wait on the page (a trace takes 50 ms a step): three files run
# at a time, the longest (the comparisons with the renderer) first so that it
# does not end alone. The pace's measures run afterwards, alone, so nothing
# else competes with what they time.
echo "Running the page's tests…"
mapfile -t files < <(echo web/tests/SamePlane.test.mjs
                     ls web/tests/*.test.mjs | grep -v '/Measures\.test\.mjs$\|/SamePlane\.test\.mjs$')
PARAMCURVE_WEB_SITE="$site" TMPDIR="$work" node --test --test-concurrency=3 --test-reporter=tap "${files[@]}"
echo "Measuring the page's pace…"
PARAMCURVE_WEB_SITE="$site" TMPDIR="$work" node --test --test-reporter=tap web/tests/Measures.test.mjs
