#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The differential check of the extended arithmetic: N random lines
# T<TAB>FORMULA (paramcurve-formulas, seed SEED) evaluated by paramcurve-eval
# natively with the x87, in Node (WebAssembly, software extended) and
# natively with the software extended, then the x87's outputs held against
# each of the others (scripts/compare-eval.py). Builds what it needs:
# build-eval/ (x87), build-eval-soft/ (PARAMCURVE_SOFT_EXTENDED=ON),
# build-web/ (scripts/build-eval-web.sh). Fails when a formula of the exact
# class differs or fewer than 99.9 % of all agree.
#   scripts/compare-eval.sh N SEED
set -euo pipefail
cd "$(dirname "$0")/.."

count=${1:?usage: scripts/compare-eval.sh N SEED}
seed=${2:?usage: scripts/compare-eval.sh N SEED}

build_native() {  # DIR [CMAKE OPTIONS...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -DPARAMCURVE_ENGINE_ONLY=ON -DCMAKE_BUILD_TYPE=Release "$@" > "$dir.log" 2>&1 &&
        nice -n 10 cmake --build "$dir" -j2 --target paramcurve-eval paramcurve-formulas >> "$dir.log" 2>&1 ||
        { cat "$dir.log"; exit 1; }
}
build_native build-eval -DPARAMCURVE_SOFT_EXTENDED=OFF
build_native build-eval-soft -DPARAMCURVE_SOFT_EXTENDED=ON
scripts/build-eval-web.sh build-web > /dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build-eval/paramcurve-formulas "$count" "$seed" > "$work/lines"
timed() {  # NAME OUTPUT COMMAND...
    local name=$1 output=$2 start
    shift 2
    start=$(date +%s.%N)
    "$@" < "$work/lines" > "$output"
    echo "$name: $(echo "$(date +%s.%N) - $start" | bc) s"
}
timed "x87 native" "$work/x87" build-eval/paramcurve-eval
timed "soft in Node" "$work/web" node build-web/paramcurve-eval.js
timed "soft native" "$work/soft" build-eval-soft/paramcurve-eval
status=0
python3 scripts/compare-eval.py "$work/lines" "$work/x87" "$work/web" "x87 native" "soft in Node" || status=1
python3 scripts/compare-eval.py "$work/lines" "$work/x87" "$work/soft" "x87 native" "soft native" || status=1
cmp -s "$work/web" "$work/soft" && echo "soft in Node and soft native: identical" ||
    { echo "soft in Node and soft native differ"; status=1; }
exit $status
