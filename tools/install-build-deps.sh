#!/bin/sh
# Installs the Debian 12 packages VELMARK needs to build and test, only those missing.
set -e
PACKAGES="cmake ninja-build g++ libgtest-dev libsimpleini-dev qt6-base-dev libgl-dev qt6-translations-l10n fp-utils libchm-dev"
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
