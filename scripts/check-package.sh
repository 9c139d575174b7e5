#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with ./package.sh and checks it the way a school's
# administrator meets it: lintian finds no errors and no warnings; apt-get
# installs it; the installed renderer draws the default curve; the manual
# pages are found by man; the desktop entry and the metainfo pass their
# validators; a lesson file is of the lesson's type and opens in paramcurve;
# the program starts from its desktop entry, also with a lesson; and apt-get
# purge leaves none of its files.
# Runs as root, or through sudo.
#   scripts/check-package.sh [BUILD_DIR]   the package made from BUILD_DIR (see
#                                          package.sh), else from a build of its own
set -euo pipefail
cd "$(dirname "$0")/.."

app_id=cz.paramcurve.paramcurve
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
apt_get() {
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -y -q -o DPkg::Lock::Timeout=600 "$@"
}
fail() {
    echo "check-package: $*" >&2
    exit 1
}

./package.sh "$@"
deb=$(ls paramcurve_*_amd64.deb)
version=$(dpkg-deb -f "$deb" Version)

echo "== lintian $deb (fails on errors and warnings; notes are listed)"
lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb"

# What the package must hold, whatever a system's dpkg settings install of it.
contents=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
for path in /usr/bin/paramcurve /usr/bin/paramcurve-render \
    /usr/share/applications/$app_id.desktop /usr/share/icons/hicolor/scalable/apps/$app_id.svg \
    /usr/share/metainfo/$app_id.metainfo.xml /usr/share/mime/packages/$app_id.xml \
    /usr/share/doc/paramcurve/copyright /usr/share/doc/paramcurve/changelog.gz \
    /usr/share/man/{,cs/}man1/paramcurve{,-render}.1.gz; do
    grep -qx "$path" <<< "$contents" || fail "$deb does not hold $path"
done

# Minimal Debian images tell dpkg to leave manual pages out (path-exclude in
# /etc/dpkg/dpkg.cfg.d/), so no package's pages reach the disk there. Then the
# pages are included again for this install, so that man tests this package
# rather than the image's settings.
dpkg_options=()
exclude=$(grep -sHE '^[[:space:]]*path-exclude[[:space:]=]+/usr/share/man' \
    /etc/dpkg/dpkg.cfg /etc/dpkg/dpkg.cfg.d/* || true)
if [ -n "$exclude" ]; then
    echo "This system's dpkg leaves manual pages out:"
    echo "$exclude"
    echo "Installing with --path-include=/usr/share/man/* so that man can be checked."
    dpkg_options=(-o 'DPkg::Options::=--path-include=/usr/share/man/*')
fi

# The check ends by purging the package: on a machine where paramcurve is
# already installed it would take that installation away, so it stops here.
if dpkg-query -W -f='${Status}' paramcurve 2>/dev/null | grep -q ' installed$'; then
    echo "paramcurve is installed on this machine; the install, run and purge checks are skipped"
    echo "so as not to remove it (purge it first to run them)."
    exit 0
fi

echo "== apt-get install ./$deb"
installed=false
remove_on_exit() {
    if $installed; then
        echo "check-package: removing the package after a failure" >&2
        apt_get purge paramcurve > /dev/null || true
    fi
}
trap remove_on_exit EXIT
apt_get "${dpkg_options[@]}" install "./$deb"
installed=true
[ "$(dpkg-query -W -f='${Version}' paramcurve)" = "$version" ] || fail "installed version is not $version"

echo "== The installed programs"
[ "$(/usr/bin/paramcurve-render --version)" = "paramcurve-render $version" ] \
    || fail "paramcurve-render --version does not say $version"
work=$(mktemp -d)
# The default curve, with no display to be had.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    /usr/bin/paramcurve-render -o "$work/curve.png" --points "$work/curve.csv"
# A PNG of 500 x 500: the signature, then the width and height in IHDR.
[ "$(od -An -tx1 -N8 "$work/curve.png" | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "no PNG written"
[ "$(od -An -tx1 -j16 -N8 "$work/curve.png" | tr -d ' \n')" = 000001f4000001f4 ] || fail "the PNG is not 500 x 500"
# 0 to 2*pi in 100 segments evaluates 102 points, the last a step beyond 2*pi.
[ "$(head -n1 "$work/curve.csv")" = "t,x,y" ] && [ "$(wc -l < "$work/curve.csv")" -eq 103 ] \
    || fail "the default curve's points are not 102: $(wc -l < "$work/curve.csv") lines"
echo "paramcurve-render drew the default curve: 500 x 500 PNG, 102 points"

# The program from its desktop entry: still running after five seconds means
# it started and waits for the user (offscreen, as there may be no display).
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/$app_id.desktop | sed 's/ *%[fFuUik]//g')
status=0
QT_QPA_PLATFORM=offscreen timeout 5 $exec_line > "$work/gui.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/gui.log" >&2; fail "'$exec_line' from the desktop entry ended with $status"; }
echo "'$exec_line' from the desktop entry started and ran until stopped"

echo "== The lesson's file type"
# What a double click does: the file's type by its name, and the desktop
# entry that opens that type.
/usr/bin/paramcurve-render --save-lesson "$work/x.paramcurve" -o "$work/lesson.png"
type=$(xdg-mime query filetype "$work/x.paramcurve")
[ "$type" = application/x-paramcurve ] || fail "xdg-mime query filetype x.paramcurve: '$type'"
default=$(xdg-mime query default application/x-paramcurve)
[ "$default" = "$app_id.desktop" ] || fail "xdg-mime query default application/x-paramcurve: '$default'"
echo "x.paramcurve is $type, opened by $default"
# Started with the lesson as the desktop starts it; the lesson it then
# remembers goes to a settings folder of the check's own, not the user's.
status=0
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen timeout 5 $exec_line "$work/x.paramcurve" \
    > "$work/gui.log" 2>&1 || status=$?
[ -s "$work/config/paramcurve/paramcurve.conf" ] || fail "'$exec_line x.paramcurve' did not remember the lesson"
[ "$status" -eq 124 ] || { cat "$work/gui.log" >&2; fail "'$exec_line x.paramcurve' ended with $status"; }
echo "'$exec_line x.paramcurve' started and ran until stopped"
rm -rf "$work"

echo "== Manual pages, desktop entry and metainfo as installed"
for page in paramcurve paramcurve-render; do
    [ "$(man -w "$page")" = "/usr/share/man/man1/$page.1.gz" ] || fail "man -w $page: $(man -w "$page" 2>&1)"
    [ "$(man -L cs -w "$page")" = "/usr/share/man/cs/man1/$page.1.gz" ] || fail "man -L cs -w $page"
done
page=$(MANPAGER=cat MANWIDTH=100 man paramcurve-render)
grep -q -- "--version" <<< "$page" || fail "man paramcurve-render lists no --version"
echo "man -w finds both pages, in man1 and in cs/man1"
desktop-file-validate /usr/share/applications/$app_id.desktop
appstreamcli validate --no-net /usr/share/metainfo/$app_id.metainfo.xml

echo "== apt-get purge paramcurve"
files=$(dpkg -L paramcurve | while read -r path; do [ -d "$path" ] || echo "$path"; done)
apt_get purge paramcurve
installed=false
status=$(dpkg-query -W -f='${db:Status-Abbrev}' paramcurve 2> /dev/null || true)
case "$status" in
    "" | un* | pn*) ;;
    *) fail "dpkg still lists paramcurve after purge: $status" ;;
esac
left=$(while read -r path; do [ ! -e "$path" ] && [ ! -L "$path" ] || echo "$path"; done <<< "$files")
[ -z "$left" ] || fail "left behind after purge: $left"
[ ! -e /usr/share/doc/paramcurve ] || fail "left behind after purge: /usr/share/doc/paramcurve"
echo "check-package: $deb ($version) passed; purge left none of its $(wc -l <<< "$files") files"
