#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build needs (only those missing), then
# configures and builds paramcurve into the given build folder.
#   scripts/setup.sh BUILD_DIR [extra cmake arguments...]
#   scripts/setup.sh --packages-only
# With PARAMCURVE_X11_CHECK=1 (check.sh) it also tries to install what the
# check on an X server uses; that check is skipped where they cannot be had.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-svg-dev libgif-dev poppler-utils
    libbenchmark-dev libx11-dev libmuparser-dev
    fonts-dejavu-core fonts-liberation
    clang libclang-rt-14-dev
    desktop-file-utils appstream
    qt6-translations-l10n
    dpkg-dev file lintian man-db
    xdg-utils shared-mime-info libfile-mimeinfo-perl
)
x11_check_packages=(xvfb openbox x11-utils)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
updated=false

# Installs those of the given packages that are missing; fails if it cannot.
install_missing() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing missing packages: ${missing[*]}"
    if [ "$updated" = false ]; then
        "${sudo_cmd[@]}" apt-get update -qq || return 1
        updated=true
    fi
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}"
if [ "${PARAMCURVE_X11_CHECK:-}" = 1 ] && ! install_missing "${x11_check_packages[@]}"; then
    echo "Could not install ${x11_check_packages[*]}: the check on an X server will be skipped"
fi

[ "${1:-}" != --packages-only ] || exit 0
build_dir=$1
shift
cmake -S "$(dirname "$0")/.." -B "$build_dir" "$@"
cmake --build "$build_dir" -j"$(nproc)"
