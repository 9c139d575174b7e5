#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a built tree into a temporary folder and checks what a desktop
# needs from it: both programs, the manual pages, and a desktop entry, icon
# and AppStream metainfo that pass their validators. Fails on the first error.
#   scripts/validate-install.sh BUILD_DIR
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
build_dir=$1
app_id=cz.paramcurve.paramcurve
prefix=/usr

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build_dir" --prefix "$prefix" > "$stage.log" \
    || { cat "$stage.log" >&2; rm -f "$stage.log"; exit 1; }
rm -f "$stage.log"
root="$stage$prefix"

expected=(
    bin/paramcurve
    bin/paramcurve-render
    share/applications/$app_id.desktop
    share/icons/hicolor/scalable/apps/$app_id.svg
    share/metainfo/$app_id.metainfo.xml
    share/mime/packages/$app_id.xml
    share/man/man1/paramcurve.1.gz
    share/man/man1/paramcurve-render.1.gz
    share/man/cs/man1/paramcurve.1.gz
    share/man/cs/man1/paramcurve-render.1.gz
)
for file in "${expected[@]}"; do
    if [ ! -s "$root/$file" ]; then
        echo "validate-install: missing after install: $prefix/$file" >&2
        exit 1
    fi
done
for program in paramcurve paramcurve-render; do
    [ -x "$root/bin/$program" ] || { echo "validate-install: $program is not executable" >&2; exit 1; }
done

# desktop-file-validate prints warnings and hints but fails only on errors.
desktop-file-validate "$root/share/applications/$app_id.desktop"

# The icon the entry names must be the one installed.
icon=$(sed -n 's/^Icon=//p' "$root/share/applications/$app_id.desktop")
if [ "$icon" != "$app_id" ]; then
    echo "validate-install: the desktop entry names the icon '$icon', installed is '$app_id'" >&2
    exit 1
fi
if command -v xmllint > /dev/null; then
    xmllint --noout "$root/share/icons/hicolor/scalable/apps/$app_id.svg"
fi

# The lesson's file type, and the desktop entry that opens it.
if command -v xmllint > /dev/null; then
    xmllint --noout "$root/share/mime/packages/$app_id.xml"
fi
grep -qx 'MimeType=application/x-paramcurve;' "$root/share/applications/$app_id.desktop" \
    || { echo "validate-install: the desktop entry does not open application/x-paramcurve" >&2; exit 1; }

# appstreamcli fails on errors and warnings; --no-net keeps it offline.
appstreamcli validate --no-net "$root/share/metainfo/$app_id.metainfo.xml"

echo "validate-install: installed files are valid"
