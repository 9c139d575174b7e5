#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The web page's checks: installs what they need (setup.sh's web group),
# builds the page into a temporary folder, and runs web/tests/*.test.mjs with
# Node's own test runner: the modules' unit tests, and the page in Debian's
# Chromium, headless, through puppeteer-core, served by web/tools/serve.mjs
# on a free port of 127.0.0.1. The comparisons with the desktop's renderer
# take build/app/paramcurve-render (./check.sh builds it) or the one
# PARAMCURVE_RENDER names, and are skipped, with the reason, without one.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --packages web
work=$(mktemp -d "${TMPDIR:-/tmp}/paramcurve-check-web.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "Building the page into $work/site…"
./web.sh --build --out "$work/site"
echo "Running the page's tests…"
PARAMCURVE_WEB_SITE="$work/site" TMPDIR="$work" node --test --test-reporter=spec web/tests/
