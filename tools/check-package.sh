#!/bin/sh
# Builds the Debian package (make package), installs it into this system with apt-get, checks the
# installed files and that velmark-batch runs a sort from them, and removes the package again,
# also when a check fails. Needs root or sudo; not part of the tests.
# Usage: tools/check-package.sh   (JOBS=N and PACKAGE_BUILD_DIR=DIR are passed to make)
set -eu
cd "$(dirname "$0")/.."
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
BUILD_DIR="${PACKAGE_BUILD_DIR:-build-package}"

make package PACKAGE_BUILD_DIR="$BUILD_DIR" ${JOBS:+JOBS=$JOBS}
DEB=$(ls -t "$BUILD_DIR"/velmark_*.deb | head -n 1)
echo "== $DEB"
dpkg-deb --field "$DEB" Package Version Architecture Depends
dpkg-deb --contents "$DEB"

if dpkg-query -W -f='${Status}' velmark 2>/dev/null | grep -q "install ok installed"; then
    echo "velmark is installed already; remove it first" >&2
    exit 1
fi
WORK=$(mktemp -d)
chmod 755 "$WORK"
cleanup() {
    $SUDO apt-get remove -y -qq velmark >/dev/null 2>&1 || true
    rm -rf "$WORK"
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "./$DEB"

fail() {
    echo "FAILED: $*" >&2
    exit 1
}
check() {
    echo "-- $*"
}

check "the installed files"
for file in /usr/bin/velmark /usr/bin/velmark-batch /usr/bin/VELMARK_TRANSLATION.chm \
    /usr/share/applications/velmark.desktop /usr/share/icons/hicolor/scalable/apps/velmark.svg \
    /usr/share/man/man1/velmark-batch.1.gz /usr/share/velmark/DXCC.LST \
    /usr/share/velmark/CABRILLO_FORM /usr/share/velmark/sample.adi; do
    [ -e "$file" ] || fail "$file is missing"
done
grep -qx 'Exec=velmark --user-start-directory' /usr/share/applications/velmark.desktop ||
    fail "the menu entry does not start velmark in the user's start directory"
zcat /usr/share/man/man1/velmark-batch.1.gz | grep -q '^\.SH OPTIONS' || fail "man page"
for program in /usr/bin/velmark /usr/bin/velmark-batch; do
    if ldd "$program" | grep -q "not found"; then
        ldd "$program" >&2
        fail "$program misses a shared library"
    fi
done

check "velmark-batch --version"
VERSION=$(velmark-batch --version)
echo "$VERSION"
case "$VERSION" in
    "velmark-batch "*) ;;
    *) fail "unexpected version line: $VERSION" ;;
esac

check "a batch sort in a copy of the installed data, as an ordinary user would run it"
cp -R /usr/share/velmark "$WORK/qsl"
mkdir "$WORK/qsl/out"
(cd "$WORK/qsl" && HOME="$WORK/home" velmark-batch --lang en --input-type adif \
    --input-date YYYYMMDD --output-type csv --output-date as-input --order dxcc \
    --per-card 3 --no-divide sort sample.adi out/cards.csv) || fail "the sort run"
for file in out/cards.csv out/COUNTRY.CSV out/Report.txt; do
    [ -s "$WORK/qsl/$file" ] || fail "the sort wrote no $file"
done
echo "sorted: $(wc -l <"$WORK/qsl/out/cards.csv") lines of out/cards.csv"

check "QSL labels of the sample into a PDF, without a display"
(cd "$WORK/qsl" && env -u DISPLAY -u WAYLAND_DISPLAY HOME="$WORK/home" velmark-batch --lang en \
    --input-type adif --input-date YYYYMMDD --order dxcc --per-card 3 --sheet L7160 \
    labels sample.adi out/labels.pdf) || fail "the labels run"
[ "$(head -c 5 "$WORK/qsl/out/labels.pdf")" = "%PDF-" ] || fail "the labels run wrote no PDF"

check "the menu entry's start of velmark, by a user who cannot write /usr/bin"
# The program waits in its language window; it has filled the start directory and made the
# folder of setup.ini by then, so it is stopped after a few seconds.
mkdir -p "$WORK/home"
AS_USER=""
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$WORK/home"
    AS_USER="setpriv --reuid=nobody --regid=nogroup --clear-groups"
fi
mkdir -p "$WORK/home/.local/share/velmark/CABRILLO_FORM"
echo "edited by the user" >"$WORK/home/.local/share/velmark/DXCC.LST"
[ -n "$AS_USER" ] && chown -R nobody:nogroup "$WORK/home"
status=0
(cd / && env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$WORK/home" QT_QPA_PLATFORM=offscreen \
    timeout 5 $AS_USER velmark --user-start-directory) || status=$?
[ "$status" -eq 124 ] || fail "velmark ended with status $status before the language window"
START="$WORK/home/.local/share/velmark"
[ -s "$START/CABRILLO_FORM/$(ls /usr/share/velmark/CABRILLO_FORM | head -n 1)" ] ||
    fail "the start directory was not filled from /usr/share/velmark"
[ "$(cat "$START/DXCC.LST")" = "edited by the user" ] || fail "the user's DXCC.LST was overwritten"
[ -d "$WORK/home/.config/velmark" ] || fail "no folder for setup.ini in ~/.config/velmark"
[ ! -e /usr/bin/setup.ini ] || fail "setup.ini was put beside the installed program"
echo "start directory: $(ls "$START" | tr '\n' ' ')"

trap - EXIT
cleanup
dpkg-query -W -f='${Status}' velmark 2>/dev/null | grep -q "install ok installed" &&
    fail "velmark is still installed"
echo "Package check passed: $DEB"
