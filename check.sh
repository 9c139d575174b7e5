#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test: the test suite, the
# windows on an X server of their own (Xvfb, bare and with openbox, on three
# screen sizes) and over the accessibility bus, the Debian package built from
# the tested build, linted, installed and purged again, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded fuzz run of
# the expression engine. Needs no display.
set -euo pipefail
cd "$(dirname "$0")"
export QT_QPA_PLATFORM=offscreen

echo "== Build and test"
scripts/setup.sh --packages check x11
# The tested build is made with the package's settings, so that the package
# is made from it rather than compiled once more; the tests themselves need
# no debug information.
source scripts/package-settings.sh
scripts/setup.sh build "${package_cmake_settings[@]}" -DPARAMCURVE_TESTS=ON -DPARAMCURVE_BENCHMARKS=ON \
    -DPARAMCURVE_TEST_DEBUG_INFO=OFF
ctest --test-dir build --output-on-failure -j"$(nproc)"

echo "== The windows on an X server, bare and under openbox"
scripts/check-x11.sh build

echo "== The windows over the accessibility bus"
scripts/check-atspi.sh build

echo "== Install and validate the desktop entry, metainfo and manual pages"
scripts/validate-install.sh build

echo "== Build the Debian package from the tested build, lint it, install it, check and purge it"
scripts/check-package.sh build

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
# Without debug information, and at -O1 as the sanitizers' authors advise
# (a quarter to a third less compiling than -O3); the reports still name
# the functions.
scripts/setup.sh build-asan -DPARAMCURVE_SANITIZE=ON -DPARAMCURVE_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG"
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --test-dir build-asan --output-on-failure -j"$(nproc)"

echo "== Fuzz the expression engine for a bounded time"
scripts/fuzz.sh 60
