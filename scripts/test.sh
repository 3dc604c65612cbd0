#!/usr/bin/env bash
# Installs what is needed, builds and runs every test (headless). The tests
# get a PostgreSQL server of their own, made in a temporary folder for this
# run and removed when it ends, whether the tests pass, fail or are stopped.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen

server_dir=$(mktemp -d)
trap 'scripts/test_server.sh stop "$server_dir"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
if ! server_exports=$(scripts/test_server.sh start "$server_dir"); then
    echo "test: the tests' PostgreSQL server did not start; no test was run" >&2
    exit 1
fi
eval "$server_exports"
# A store test that finds no server fails instead of skipping.
export TARVEX_REQUIRE_PG=1
echo "test: PostgreSQL server for the tests in $TARVEX_TEST_PG_HOST (port $TARVEX_TEST_PG_PORT)"

ctest --test-dir "${TARVEX_BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)" "$@"
