# SPDX-License-Identifier: GPL-3.0-or-later
# The build settings of the Debian package, sourced by package.sh and by
# check.sh, whose build of the program uses them too so that the package is
# made from the very build that was checked. Sets package_cmake_settings.
# Debian's flags for packaged programs, with every hardening feature, and
# NDEBUG as in the tested release build.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
package_cmake_settings=(
    -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS) -DNDEBUG"
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
)
