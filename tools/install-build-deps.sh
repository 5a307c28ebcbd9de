#!/bin/sh
# Installs the Debian 12 packages VELMARK needs to build and test, only those missing.
set -e
# fonts-dejavu-core: the QSL labels' font, built into the programs; poppler-utils: the tests
# read the labels' PDF with pdftotext, pdftoppm and pdffonts.
PACKAGES="cmake ninja-build g++ libgtest-dev libsimpleini-dev qt6-base-dev libgl-dev qt6-translations-l10n fp-utils libchm-dev fonts-dejavu-core poppler-utils"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
