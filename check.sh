#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what is missing, builds, and runs every test: the includes read
# against the floors (README.md), the core configured without Qt, the
# test suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, the windows on an X server
# of their own (Xvfb, bare and with openbox, on three screen sizes) and over
# the accessibility bus, the page built with Emscripten and driven in headless
# Chromium, the Debian package built from the checked build,
# linted, installed and purged again, and bounded fuzz runs of the expression
# engine and of the lesson reader. Needs no display.
set -euo pipefail
cd "$(dirname "$0")"
export QT_QPA_PLATFORM=offscreen

# Tests write under temporary folders only: what git sees in the tree (the
# build folders are ignored) must be the same after each stage as before.
tree_status() {
    git status --porcelain --untracked-files=all 2> /dev/null || true
}
tree_before=$(tree_status)
tree_unchanged() {
    local after
    after=$(tree_status)
    if [ "$after" != "$tree_before" ]; then
        echo "check.sh: $1 left files in the source tree:" >&2
        diff <(echo "$tree_before") <(echo "$after") >&2 || true
        exit 1
    fi
}

# Each stage says how long the run has taken before it begins.
stage() {
    echo "== $1 (at ${SECONDS} s)"
}

stage "Read every include against the floors"
scripts/check-floors.py

stage "Configure the core alone, where the toolkit cannot be found"
# Engine, plane, press, document, lessons and GIF stream are plain C++: with
# Qt hidden from CMake they still configure here, and the page's stage below
# builds them so for the browser, where there is no Qt at all. Their tests
# link no Qt and run in the sanitizers' suite.
# Only what the first build needs is installed before it.
scripts/setup.sh --packages build
cmake -S . -B build-core --no-warn-unused-cli -DPARAMCURVE_CORE_ONLY=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=TRUE \
    -DCMAKE_BUILD_TYPE=Release > /dev/null
tree_unchanged "the core's configuration"

stage "Build the program and the benchmarks"
# The rest (the sanitizers' and fuzzers' runtimes, the X server, the package's
# linter, and the page's Emscripten and Chromium, the largest of all)
# downloads and installs beside this build; nothing else runs apt until it
# is done.
page_work=$(mktemp -d)
scripts/setup.sh --sudo-ready check x11 web
scripts/setup.sh --packages check x11 web > "$page_work/packages.log" 2>&1 &
packages=$!
# An install is never cut short: a stage that fails first waits for it.
trap 'wait "$packages" 2> /dev/null || true; rm -rf "$page_work"' EXIT
# The program is built once, with the package's settings, so that the package
# is made from the very build checked on the X server below rather than
# compiled once more.
# Both builds here are unity builds: each library's sources compiled a few at
# a time as one, so that the toolkit's headers are read once a batch rather
# than once a file (a third less compiling; tests are of one source each and
# stay as they are). The code is kept free of clashes between files for it.
source scripts/package-settings.sh
cmake -S . -B build "${package_cmake_settings[@]}" -DCMAKE_UNITY_BUILD=ON -DPARAMCURVE_TESTS=OFF \
    -DPARAMCURVE_BENCHMARKS=ON
cmake --build build -j"$(nproc)"

stage "Build and run the test suite with AddressSanitizer and UndefinedBehaviorSanitizer"
packages_status=0
wait "$packages" || packages_status=$?
cat "$page_work/packages.log"
[ "$packages_status" -eq 0 ] || { echo "check.sh: the packages the checks need could not be installed" >&2; exit 1; }
# The test suite is built once, under the sanitizers: the libraries at -O1,
# as the sanitizers' authors advise, the test programs themselves unoptimized
# and without debug information (the reports still name the functions).
scripts/setup.sh build-asan -DCMAKE_UNITY_BUILD=ON -DPARAMCURVE_SANITIZE=ON -DPARAMCURVE_BENCHMARKS=OFF \
    -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG" -DPARAMCURVE_TEST_DEBUG_INFO=OFF -DPARAMCURVE_TEST_OPTIMIZE=OFF
# The page's core compiles to WebAssembly (at a lower priority) while the
# suite runs and the stages after it, which leave a core idle at times.
nice -n 10 ./web.sh --build --out "$page_work/site" > "$page_work/build.log" 2>&1 &
page_build=$!
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
tree_unchanged "the test suite"

# From here on most stages wait: on the X server, on the package's tools, on
# the page's tempo. The fuzz runs of the engine and of the lesson reader
# take what they leave, at the lowest priority, one core each; each run's
# output is shown whole once it ends.
fuzz_logs="$page_work/fuzz"
mkdir -p "$fuzz_logs"
nice -n 19 scripts/fuzz.sh 45 > "$fuzz_logs/engine.log" 2>&1 &
engine_fuzz=$!
nice -n 19 scripts/fuzz-lesson.sh 30 > "$fuzz_logs/lesson.log" 2>&1 &
lesson_fuzz=$!

stage "The windows on an X server, bare and under openbox"
scripts/check-x11.sh build build-asan
tree_unchanged "the check on an X server"

stage "The windows over the accessibility bus"
scripts/check-atspi.sh build
tree_unchanged "the walk over the accessibility bus"

stage "Install and validate the desktop entry, metainfo and manual pages"
scripts/validate-install.sh build

stage "Build the Debian package from the checked build, lint it, install it, check and purge it"
scripts/check-package.sh build
tree_unchanged "the package check"

stage "The page (its core built beside the stages before) in headless Chromium, its canvas against the renderer"
page_status=0
wait "$page_build" || page_status=$?
cat "$page_work/build.log"
[ "$page_status" -eq 0 ] || { echo "check.sh: the page did not build" >&2; exit 1; }
PARAMCURVE_RENDER="$PWD/build/app/paramcurve-render" scripts/check-web.sh --site "$page_work/site"
tree_unchanged "the page's checks"

stage "Fuzz the expression engine and the lesson reader for a bounded time (begun after the test suite)"
engine_fuzz_status=0
wait "$engine_fuzz" || engine_fuzz_status=$?
lesson_fuzz_status=0
wait "$lesson_fuzz" || lesson_fuzz_status=$?
cat "$fuzz_logs/engine.log" "$fuzz_logs/lesson.log"
[ "$engine_fuzz_status" -eq 0 ] || { echo "check.sh: the engine's fuzz run failed" >&2; exit 1; }
[ "$lesson_fuzz_status" -eq 0 ] || { echo "check.sh: the lesson reader's fuzz run failed" >&2; exit 1; }
tree_unchanged "the fuzz runs"
echo "== All checks passed in ${SECONDS} s"
