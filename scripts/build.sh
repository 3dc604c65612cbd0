#!/usr/bin/env bash
# Configures and builds Tarvex, its tests and benchmarks into build/ (or the
# folder named by TARVEX_BUILD_DIR). ccache, when present, keeps rebuilds short.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${TARVEX_BUILD_DIR:-build}"
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$PWD"
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
