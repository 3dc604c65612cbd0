#!/usr/bin/env bash
# A throwaway PostgreSQL server for one test run, kept whole in one folder.
#
#   scripts/test_server.sh start DIR   makes a cluster in DIR/data, starts it
#                                      and prints the `export` lines that tell
#                                      the tests where it is
#   scripts/test_server.sh stop DIR    stops it at once and removes DIR
#   scripts/test_server.sh pause DIR   stops it and keeps DIR, its data with it
#   scripts/test_server.sh resume DIR  starts a paused one again and prints the
#                                      same `export` lines
#   scripts/test_server.sh restart DIR stops a running one (ending its
#                                      connections) and starts it again, as
#                                      an administrator's restart would; for a
#                                      test that made a server of its own
#   scripts/test_server.sh tls DIR     gives a server of a test's own a TCP
#                                      listener on 127.0.0.1 that takes only
#                                      TLS, with a certificate for "localhost"
#                                      made at once by a root of DIR/tls, and
#                                      prints the root's path and that of a
#                                      second, unrelated root
#
# The server listens only on a Unix socket in DIR (no TCP), trusts every local
# login and skips the work that keeps data safe over a power cut: what it
# holds is thrown away. Run as root, the server runs as the `postgres` user,
# which is given DIR; run as anyone else, it runs as that user.
#   eval "$(scripts/test_server.sh start "$dir")"   # after checking it worked
set -euo pipefail

# Marks a folder as one this script made, so `stop` never removes another.
marker=".tarvex-test-server"

fail() {
    echo "test_server: $*" >&2
    exit 1
}

usage() {
    echo "usage: $0 start DIR | stop DIR | pause DIR | resume DIR | restart DIR | tls DIR" >&2
    exit 2
}

# The newest installed server's programs (Debian keeps each major version in
# /usr/lib/postgresql/N/bin), else those on the PATH.
server_bin() {
    local newest
    newest=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
    if [ -n "$newest" ] && [ -x "$newest/initdb" ]; then
        echo "$newest"
    elif command -v initdb >/dev/null; then
        dirname "$(command -v initdb)"
    else
        fail "no PostgreSQL server programs found (install the Debian package postgresql)"
    fi
}

# Runs a command as the user who owns the server, from inside DIR so that a
# working folder the postgres user cannot enter does not matter.
as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        (cd "$dir" && runuser -u postgres -- "$@")
    else
        (cd "$dir" && "$@")
    fi
}

# A TCP port nobody listens on at 127.0.0.1. The server opens no TCP socket,
# but the port names its socket file and stays usable should TCP be wanted.
free_port() {
    local port tries
    for tries in $(seq 1 50); do
        port=$((20000 + RANDOM % 40000))
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return
        fi
    done
    fail "no free port found after $tries tries"
}

# Starts the cluster in DIR/data, showing its logs when it will not start.
start_cluster() {
    if ! as_owner "$(server_bin)/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start \
        >"$dir/pg_ctl.log" 2>&1; then
        cat "$dir/pg_ctl.log" "$dir/server.log" >&2 2>/dev/null || true
        fail "the server in $dir/data did not start"
    fi
}

start() {
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd -P)
    [ -z "$(ls -A "$dir")" ] || fail "$dir is not empty"
    touch "$dir/$marker"
    # A socket's path is limited to 107 bytes: DIR/.s.PGSQL.NNNNN must fit.
    [ ${#dir} -le 90 ] || fail "$dir is too long a path for the server's socket"

    local bin port owner
    bin=$(server_bin)
    port=$(free_port)
    if [ "$(id -u)" -eq 0 ]; then
        id postgres >/dev/null 2>&1 || fail "there is no postgres user to run the server as"
        chown -R postgres: "$dir"
        runuser -u postgres -- test -w "$dir" ||
            fail "the postgres user cannot reach $dir (is a folder above it closed to others?)"
        owner=postgres
    else
        owner=$(id -un)
    fi

    if ! as_owner "$bin/initdb" -D "$dir/data" --auth=trust -E UTF8 --locale=C.UTF-8 \
        --no-sync >"$dir/initdb.log" 2>&1; then
        cat "$dir/initdb.log" >&2
        fail "initdb failed in $dir/data"
    fi
    cat >>"$dir/data/postgresql.conf" <<EOF

# A throwaway server for the tests
listen_addresses = ''
unix_socket_directories = '$dir'
port = $port
max_connections = 200
fsync = off
full_page_writes = off
synchronous_commit = off
EOF
    start_cluster

    print_exports "$port" "$owner"
}

print_exports() {
    printf 'export TARVEX_TEST_PG_HOST=%q\n' "$dir"
    printf 'export TARVEX_TEST_PG_PORT=%q\n' "$1"
    printf 'export TARVEX_TEST_PG_USER=%q\n' "$2"
}

# A folder this script made, with its cluster: its full path.
made_here() {
    [ -d "$dir" ] || fail "there is no $dir"
    dir=$(cd "$dir" && pwd -P)
    [ -e "$dir/$marker" ] && [ -f "$dir/data/PG_VERSION" ] ||
        fail "$dir holds no server made by this script"
}

resume() {
    made_here
    local port owner
    # The port chosen when the cluster was made, the last one set.
    port=$(sed -n 's/^port = \([0-9]*\)$/\1/p' "$dir/data/postgresql.conf" | tail -n 1)
    [ -n "$port" ] || fail "no port set in $dir/data/postgresql.conf"
    owner=$(stat -c %U "$dir/data")
    # One left running by a run that ended without pausing it is used as it is.
    as_owner "$(server_bin)/pg_ctl" -D "$dir/data" status >/dev/null 2>&1 || start_cluster
    print_exports "$port" "$owner"
}

pause() {
    made_here
    [ -f "$dir/data/postmaster.pid" ] || return 0
    # A clean stop: the server skips syncing, so an immediate one could lose data.
    as_owner "$(server_bin)/pg_ctl" -D "$dir/data" -m fast -w -t 120 stop >/dev/null ||
        fail "the server in $dir did not stop"
}

restart() {
    made_here
    as_owner "$(server_bin)/pg_ctl" -D "$dir/data" -m fast -w -t 120 restart \
        >"$dir/pg_ctl.log" 2>&1 || {
        cat "$dir/pg_ctl.log" >&2
        fail "the server in $dir did not restart"
    }
}

# Certificates made here for one run: a root, a server certificate for
# "localhost" signed by it, and a second root that signed nothing.
make_certificates() {
    local tls=$1
    as_owner mkdir -p "$tls"
    as_owner openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tarvex test root" \
        -keyout "$tls/root.key" -out "$tls/root.crt" >/dev/null 2>&1
    as_owner openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Another root" \
        -keyout "$tls/other.key" -out "$tls/other-root.crt" >/dev/null 2>&1
    as_owner openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" \
        -keyout "$tls/server.key" -out "$tls/server.csr" >/dev/null 2>&1
    printf 'subjectAltName=DNS:localhost\n' | as_owner tee "$tls/server.ext" >/dev/null
    as_owner openssl x509 -req -in "$tls/server.csr" -CA "$tls/root.crt" -CAkey "$tls/root.key" \
        -CAcreateserial -days 2 -extfile "$tls/server.ext" -out "$tls/server.crt" >/dev/null 2>&1
    as_owner chmod 600 "$tls/server.key"
    [ -s "$tls/server.crt" ] || fail "the test certificates could not be made in $tls (openssl)"
}

tls() {
    made_here
    command -v openssl >/dev/null || fail "openssl is needed to make the test certificates"
    make_certificates "$dir/tls"
    cat >>"$dir/data/postgresql.conf" <<CONF

# TLS on 127.0.0.1 for a test of the connection's encryption
listen_addresses = '127.0.0.1'
ssl = on
ssl_cert_file = '$dir/tls/server.crt'
ssl_key_file = '$dir/tls/server.key'
CONF
    # First in the file, so that they decide before the lines initdb wrote.
    as_owner sed -i -e '1i hostssl all all 127.0.0.1/32 trust' \
        -e '1i hostnossl all all 127.0.0.1/32 reject' "$dir/data/pg_hba.conf"
    restart
    printf 'export TARVEX_TEST_TLS_ROOT=%q\n' "$dir/tls/root.crt"
    printf 'export TARVEX_TEST_TLS_OTHER_ROOT=%q\n' "$dir/tls/other-root.crt"
}

stop() {
    [ -d "$dir" ] || return 0
    dir=$(cd "$dir" && pwd -P)
    if [ ! -e "$dir/$marker" ]; then
        # Only a folder this script made is removed; an empty one is harmless.
        rmdir "$dir" 2>/dev/null || fail "$dir was not made by this script; left as it is"
        return 0
    fi
    if [ -f "$dir/data/postmaster.pid" ]; then
        local pid
        pid=$(head -n 1 "$dir/data/postmaster.pid")
        # Fails harmlessly when the server already ended (a stale pid file).
        as_owner "$(server_bin)/pg_ctl" -D "$dir/data" -m immediate -w -t 60 stop \
            >/dev/null 2>&1 || true
        # A server that would not stop is ended, not left running without its folder.
        if [ -n "$pid" ] && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF -- "$dir/data"; then
            echo "test_server: the server in $dir did not stop; killing process $pid" >&2
            kill -KILL "$pid" 2>/dev/null || true
        fi
    fi
    rm -rf "$dir"
}

[ $# -eq 2 ] || usage
dir=$2
case "$1" in
start) start ;;
stop) stop ;;
pause) pause ;;
resume) resume ;;
restart) restart ;;
tls) tls ;;
*) usage ;;
esac
