#!/usr/bin/env bash
# Installs every Debian package Tarvex needs to build, run and test.
# Safe to run again: it installs only what is missing.
# PostgreSQL is here for the tests, which start a server of their own
# (scripts/test_server.sh); a main cluster that Debian may create and start
# with the package is not used by Tarvex or its tests.
set -euo pipefail
# Qt Charts draws the dashboard; its CMake files look for Qt OpenGL's,
# which qt6-charts-dev does not bring in without the recommended packages.

packages=(
    build-essential cmake ninja-build ccache
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl1-mesa-dev
    qt6-charts-dev libqt6opengl6-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth sqlite3 libsqlite3-dev
    mdbtools-dev libsodium-dev
    postgresql libqt6sql6-psql libpq-dev openssl
    fonts-dejavu-core fonts-liberation
    dpkg-dev file lintian
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
