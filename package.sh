#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package paramcurve_<version>_amd64.deb into this folder:
# installs what the build needs, makes a release build with Debian's compiler
# and linker flags for packages in build-package/, and runs cpack on it.
#   ./package.sh
# Install the result with: sudo apt-get install ./paramcurve_*.deb
set -euo pipefail
cd "$(dirname "$0")"
build=build-package

scripts/setup.sh --packages-only

# Debian's flags for packaged programs, with every hardening feature, and
# NDEBUG as in the tested release build.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS) -DNDEBUG"
ldflags=$(dpkg-buildflags --get LDFLAGS)

rm -f paramcurve_*.deb "$build"/paramcurve_*.deb
scripts/setup.sh "$build" -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
    -DPARAMCURVE_TESTS=OFF -DPARAMCURVE_BENCHMARKS=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
(cd "$build" && cpack -G DEB)
mv "$build"/paramcurve_*.deb .
ls paramcurve_*.deb
