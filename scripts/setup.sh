#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages a task needs (only those missing), then
# configures and builds paramcurve into the given build folder.
#   scripts/setup.sh BUILD_DIR [extra cmake arguments...]   everything check.sh needs; all targets
#   scripts/setup.sh --packages GROUP...                    install only
#   scripts/setup.sh --sudo-ready GROUP...                  sudo's password now, if any are missing
# GROUP is one of:
#   program   building and running the program (run.sh)
#   package   building the Debian package (package.sh)
#   build     check.sh's first build: the program with the package's flags,
#             and the benchmarks
#   check     the tests, benchmarks, fuzzing and the package's checks
#   x11       the checks on an X server and over the accessibility bus; where
#             these cannot be had, those checks are skipped, not failed
#   web       the web page (web.sh, scripts/check-web.sh): Node, Chromium,
#             Emscripten with CMake and the JSON headers the core is built
#             with, and the tests' browser driver from web/package-lock.json
set -euo pipefail

program_packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    nlohmann-json3-dev
    qt6-svg-dev libgif-dev
    fonts-dejavu-core fonts-liberation
    qt6-translations-l10n
)
package_packages=("${program_packages[@]}" dpkg-dev file)
build_packages=("${package_packages[@]}" libbenchmark-dev libmuparser-dev libx11-dev)
check_packages=(
    "${build_packages[@]}"
    poppler-utils man-db
    libgtest-dev libboost-dev libexpat1-dev
    clang libclang-rt-14-dev llvm-14
    desktop-file-utils appstream
    lintian
    xdg-utils shared-mime-info libfile-mimeinfo-perl
)
x11_packages=(xvfb openbox x11-utils dbus at-spi2-core python3-pyatspi)
web_packages=(nodejs chromium emscripten cmake make nlohmann-json3-dev)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
updated=false

# Prints those of the given packages that are not installed, one a line.
missing_packages() {
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || echo "$pkg"
    done
}

# Installs those of the given packages that are missing; fails if it cannot.
install_missing() {
    local missing=()
    mapfile -t missing < <(missing_packages "$@")
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing missing packages: ${missing[*]}"
    if [ "$updated" = false ]; then
        "${sudo_cmd[@]}" apt-get update -qq || return 1
        updated=true
    fi
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The page's npm packages (puppeteer-core, which brings no browser of its
# own), exactly as locked, into web/node_modules; again only when the lock
# changed since.
install_web_modules() {
    local web
    web="$(cd "$(dirname "$0")/../web" && pwd)"
    if [ -f "$web/node_modules/.package-lock.json" ] && [ "$web/node_modules/.package-lock.json" -nt "$web/package-lock.json" ]; then
        return 0
    fi
    echo "Installing the page's npm packages (npm ci)"
    (cd "$web" && npm ci --no-audit --no-fund --loglevel=error)
}

install_group() {
    case "$1" in
    program) install_missing "${program_packages[@]}" ;;
    package) install_missing "${package_packages[@]}" ;;
    build) install_missing "${build_packages[@]}" ;;
    check) install_missing "${check_packages[@]}" ;;
    x11)
        install_missing "${x11_packages[@]}" \
            || echo "Could not install ${x11_packages[*]}: the checks on an X server will be skipped"
        ;;
    web)
        install_missing "${web_packages[@]}"
        command -v npm > /dev/null || install_missing npm
        install_web_modules
        ;;
    *)
        echo "setup.sh: unknown package group '$1'" >&2
        exit 2
        ;;
    esac
}

# --sudo-ready GROUP...: where packages of the groups are missing and we are
# not root, has sudo ask for the password now, in the foreground, so that
# an install of them run in the background does not stop to ask.
if [ "${1:-}" = --sudo-ready ]; then
    shift
    [ ${#sudo_cmd[@]} -gt 0 ] || exit 0
    for group in "$@"; do
        declare -n members="${group}_packages"
        if [ -n "$(missing_packages "${members[@]}")" ]; then
            sudo -v
            exit 0
        fi
    done
    exit 0
fi

if [ "${1:-}" = --packages ]; then
    shift
    for group in "$@"; do
        install_group "$group"
    done
    exit 0
fi

build_dir=$1
shift
install_group check
cmake -S "$(dirname "$0")/.." -B "$build_dir" "$@"
cmake --build "$build_dir" -j"$(nproc)"
