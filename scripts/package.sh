#!/usr/bin/env bash
# Builds the Debian package of Tarvex (tarvex_<version>_<arch>.deb) in the
# folder given (default: the root of the repository), from a release build of
# its own in build-package/. Install it with:  sudo apt install ./tarvex_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath "${1:-.}")"
build="${TARVEX_PACKAGE_BUILD_DIR:-build-package}"
scripts/setup.sh
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$PWD"
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTARVEX_BUILD_TESTS=OFF -DTARVEX_BUILD_BENCH=OFF -DTARVEX_BUILD_TOOLS=OFF \
    "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target tarvex
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
deb=$(ls -t "$out"/tarvex_*.deb | head -n 1)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Depends
