#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the expression engine's libFuzzer target (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs it for SECONDS (default
# 60) on the seed corpus in tests/fuzz/corpus/. Fails on any crash, sanitizer
# report, broken invariant or timeout.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=build-fuzz
work=fuzz-corpus-work   # new inputs land here; the seeds stay as they are

cmake -S . -B "$build" -DPARAMCURVE_ENGINE_ONLY=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$build.log" 2>&1 || { cat "$build.log"; exit 1; }
cmake --build "$build" -j2 --target fuzz_engine >> "$build.log" 2>&1 || { cat "$build.log"; exit 1; }

mkdir -p "$work"
# The slowest unit is a formula holding a power of a base within about 1e-7
# of 1 to an exponent near 2^31, which forms every one of its products (bases
# nearer 1 take them many at a time): about 30 s of CPU for the eight
# evaluations of a formula under the sanitizers, a minute on a busy machine.
# A unit running past two minutes counts as a hang.
# The sanitizers name the functions of a report through llvm-symbolizer,
# which Debian installs under a versioned name only (package llvm-14).
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
[ -x "$symbolizer" ] || symbolizer=$(command -v llvm-symbolizer || true)
[ -z "$symbolizer" ] || export ASAN_SYMBOLIZER_PATH="$symbolizer"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
"$build/tests/fuzz/fuzz_engine" "$work" tests/fuzz/corpus \
    -dict=tests/fuzz/engine.dict \
    -max_total_time="$seconds" -max_len=2048 -timeout=120 -report_slow_units=120 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/"
echo "fuzz run of ${seconds}s passed"
