#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds paramcurve-eval for Node (WebAssembly, extended arithmetic in
# software) with Debian's Emscripten: build-web/paramcurve-eval.js and .wasm.
# Nothing is fetched: the engine needs no Emscripten ports.
#   scripts/build-eval-web.sh [BUILD_DIR]
#   node build-web/paramcurve-eval.js < LINES
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-web}
# emcc's optimizer runs on Node and needs Debian's Node modules.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
command -v emcmake > /dev/null || { echo "emcmake not found (Debian package emscripten)" >&2; exit 1; }

emcmake cmake -S . -B "$build" -DPARAMCURVE_ENGINE_ONLY=ON -DCMAKE_BUILD_TYPE=Release > "$build.log" 2>&1 ||
    { cat "$build.log"; exit 1; }
nice -n 10 cmake --build "$build" -j2 --target paramcurve-eval >> "$build.log" 2>&1 || { cat "$build.log"; exit 1; }
ls -l "$build/paramcurve-eval.js" "$build/paramcurve-eval.wasm"
