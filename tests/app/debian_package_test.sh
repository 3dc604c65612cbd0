#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder and
# checks its name and that dpkg-shlibdeps worked out the library dependencies.
# Skipped (77) where the Debian packaging tools are missing.
# Usage: debian_package_test.sh BUILD-FOLDER
set -euo pipefail
build="$(realpath "$1")"
command -v dpkg-shlibdeps >/dev/null && command -v cpack >/dev/null || exit 77
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb="$(ls "$work"/tarvex_2.5_*.deb)" || fail "no tarvex_2.5_<arch>.deb made"
depends="$(dpkg-deb --field "$deb" Depends)"
echo "Depends: $depends"
for package in libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libqt6sql6-psql libsodium23 libc6; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "$package is not among the dependencies"
done
dpkg-deb --contents "$deb" >"$work/contents"
grep -q '/usr/share/applications/org.tarvex.Tarvex.desktop$' "$work/contents" \
    || fail "the menu entry is not in the package"
echo "debian package: ok"
