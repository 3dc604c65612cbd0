#!/usr/bin/env bash
# Installs every Debian package Tarvex needs to build, run and test.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl1-mesa-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth sqlite3 libsqlite3-dev
    mdbtools-dev
    fonts-dejavu-core fonts-liberation
    dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all packages present"
    exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
