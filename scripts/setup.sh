#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then
# configures and builds paramcurve into the given build folder.
#   scripts/setup.sh BUILD_DIR [extra cmake arguments...]
#   scripts/setup.sh --packages-only
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
)

missing=()
for pkg in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

[ "${1:-}" != --packages-only ] || exit 0
build_dir=$1
shift
cmake -S "$(dirname "$0")/.." -B "$build_dir" "$@"
cmake --build "$build_dir" -j"$(nproc)"
