#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder and
# checks its name, that dpkg-shlibdeps worked out the library dependencies,
# that it carries what a Debian package has (copyright, changelog, manual
# page, a real maintainer address, a description in short lines) and, where
# lintian is installed, that lintian finds no error and none of the
# warnings named below. Skipped (77) where the Debian packaging tools are
# missing.
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
for package in libqt6widgets6 libqt6charts6 libqt6sql6 libqt6sql6-sqlite libqt6sql6-psql libsodium23 libc6; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "$package is not among the dependencies"
done
dpkg-deb --contents "$deb" >"$work/contents"
for file in /usr/share/applications/org.tarvex.Tarvex.desktop /usr/share/doc/tarvex/copyright \
    /usr/share/doc/tarvex/changelog.gz /usr/share/man/man1/tarvex.1.gz; do
    grep -q " \.$file\$" "$work/contents" || fail "$file is not in the package"
done
maintainer="$(dpkg-deb --field "$deb" Maintainer)"
[[ "$maintainer" =~ ^[^\<]+\ \<[^@\>]+@[a-z0-9-]+(\.[a-z0-9-]+)*\.[a-z]{2,}\>$ ]] \
    && [[ "$maintainer" != *localhost* ]] || fail "maintainer \"$maintainer\" is no real address"
long="$(dpkg-deb --field "$deb" Description | awk 'length($0) > 80')"
[ -z "$long" ] || fail "description lines longer than 80 characters: $long"
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/man/man1/tarvex.1.gz | gzip -dc \
    | grep -qF 'import\-legacy' || fail "the manual page does not name --import-legacy"

if command -v lintian >/dev/null; then
    lintian --no-tag-display-limit "$deb" >"$work/lintian" 2>&1 || true
    cat "$work/lintian"
    ! grep -q '^E: ' "$work/lintian" || fail "lintian reports errors"
    for tag in no-copyright-file no-changelog bogus-mail-host no-manual-page \
        extended-description-line-too-long; do
        ! grep -q ": $tag" "$work/lintian" || fail "lintian reports $tag"
    done
else
    echo "lintian is not installed: its checks are skipped"
fi
echo "debian package: ok"
