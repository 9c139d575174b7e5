#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a web page: builds it into build-web/site/ and serves it on
# http://127.0.0.1:8080/ (a free port when 8080 is taken). One line per
# stage; the details go to web.log beside the site's folder.
#   ./web.sh             build and serve
#   ./web.sh --build     only build
#   ./web.sh --out DIR   build into DIR instead (also with --build)
set -euo pipefail
cd "$(dirname "$0")"
out=build-web/site
only_build=false
while [ $# -gt 0 ]; do
    case "$1" in
    --build) only_build=true ;;
    --out) out=$2; shift ;;
    *) echo "web.sh: unknown argument '$1'" >&2; exit 2 ;;
    esac
    shift
done
mkdir -p "$(dirname "$out")"
log="$(cd "$(dirname "$out")" && pwd)/web.log"
: > "$log"

stage() {
    echo "$1"
    shift
    "$@" >> "$log" 2>&1 || { cat "$log"; echo "Failed; the details are above and in $log." >&2; exit 1; }
}

# The core compiled to WebAssembly with Debian's Emscripten into
# build-web/core/ (paramcurve-core.mjs and .wasm): the core alone with the
# page's layer over it (web/core/), nothing fetched. emcc's optimizer runs
# on Node and needs Debian's Node modules.
build_core_wasm() {
    export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
    # Qt hidden as well: the core needs none, and nothing may find one. A
    # unity build (a few sources compiled as one) reads the large JSON header
    # once a batch rather than once a file.
    emcmake cmake -S . -B build-web/core-build --no-warn-unused-cli -DPARAMCURVE_CORE_ONLY=ON -DPARAMCURVE_TESTS=OFF \
        -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=TRUE -DCMAKE_BUILD_TYPE=Release -DCMAKE_UNITY_BUILD=ON
    nice -n 10 cmake --build build-web/core-build -j2 --target paramcurve-core
    mkdir -p build-web/core
    cp build-web/core-build/web/core/paramcurve-core.mjs build-web/core-build/web/core/paramcurve-core.wasm \
        build-web/core/
}

stage "Installing what the page needs (only what is missing)…" scripts/setup.sh --packages web
stage "Building the core as WebAssembly…" build_core_wasm
stage "Laying out the page in $out/…" node web/tools/build-site.mjs "$out" --core build-web/core
echo "  $(tail -n 1 "$log")"
$only_build && exit 0

port=8080
if ! node -e "const s=require('net').createServer();s.once('error',()=>process.exit(1));s.listen($port,'127.0.0.1',()=>s.close())"; then
    port=0
fi
echo "Serving the page (Ctrl+C ends it)…"
exec node web/tools/serve.mjs --root "$out" --port "$port"
