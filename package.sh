#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package paramcurve_<version>_amd64.deb into this folder:
# installs what the build needs, makes a release build with Debian's compiler
# and linker flags for packages in build-package/, and runs cpack on it.
#   ./package.sh
#   ./package.sh BUILD_DIR   package an existing build made with the same
#                            settings (scripts/package-settings.sh), as
#                            check.sh does with the build it tested
# Install the result with: sudo apt-get install ./paramcurve_*.deb
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh --packages package
source scripts/package-settings.sh

rm -f paramcurve_*.deb
if [ $# -ge 1 ]; then
    build=$1
    # The cache must hold the package's settings, or the package would ship
    # something else than this script builds.
    for setting in "${package_cmake_settings[@]}"; do
        name=${setting#-D}
        name=${name%%=*}
        value=${setting#*=}
        cached=$(sed -n "s/^$name:[A-Z]*=//p" "$build/CMakeCache.txt" 2> /dev/null || true)
        if [ "$cached" != "$value" ]; then
            echo "package.sh: $build was not configured with the package's $name" >&2
            echo "  wanted: $value" >&2
            echo "  found:  $cached" >&2
            exit 1
        fi
    done
    cmake --build "$build" -j"$(nproc)" --target paramcurve paramcurve-render manpages changelog
else
    build=build-package
    rm -f "$build"/paramcurve_*.deb
    cmake -S . -B "$build" "${package_cmake_settings[@]}" -DPARAMCURVE_TESTS=OFF -DPARAMCURVE_BENCHMARKS=OFF
    cmake --build "$build" -j"$(nproc)"
fi
rm -f "$build"/paramcurve_*.deb
(cd "$build" && cpack -G DEB)
mv "$build"/paramcurve_*.deb .
ls paramcurve_*.deb
