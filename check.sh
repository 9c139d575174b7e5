#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what is missing, builds, and runs every test: the test suite, the
# windows on an X server of their own (Xvfb, bare and with openbox, on three
# screen sizes) and over the accessibility bus, the Debian package built from
# the tested build, linted, installed and purged again, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and bounded fuzz runs of
# the expression engine and of the lesson reader. Needs no display.
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

stage "Build and test"
scripts/setup.sh --packages check x11
# The tested build is made with the package's settings, so that the package
# is made from it rather than compiled once more; the tests themselves need
# no debug information.
source scripts/package-settings.sh
scripts/setup.sh build "${package_cmake_settings[@]}" -DPARAMCURVE_TESTS=ON -DPARAMCURVE_BENCHMARKS=ON \
    -DPARAMCURVE_TEST_DEBUG_INFO=OFF
ctest --test-dir build --output-on-failure -j"$(nproc)"
tree_unchanged "the test suite"

stage "The windows on an X server, bare and under openbox"
scripts/check-x11.sh build
tree_unchanged "the check on an X server"

stage "The windows over the accessibility bus"
scripts/check-atspi.sh build
tree_unchanged "the walk over the accessibility bus"

stage "Install and validate the desktop entry, metainfo and manual pages"
scripts/validate-install.sh build

stage "Build the Debian package from the tested build, lint it, install it, check and purge it"
scripts/check-package.sh build
tree_unchanged "the package check"

stage "Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
# Without debug information, and at -O1 as the sanitizers' authors advise
# (a quarter to a third less compiling than -O3); the reports still name
# the functions.
scripts/setup.sh build-asan -DPARAMCURVE_SANITIZE=ON -DPARAMCURVE_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
tree_unchanged "the sanitizer test suite"

stage "Fuzz the expression engine for a bounded time"
scripts/fuzz.sh 60
stage "Fuzz the lesson reader for a bounded time"
scripts/fuzz-lesson.sh 30
tree_unchanged "the fuzz runs"
echo "== All checks passed in ${SECONDS} s"
