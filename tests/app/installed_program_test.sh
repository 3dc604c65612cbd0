#!/usr/bin/env bash
# Installs the built program to a temporary DESTDIR, checks that every
# installed file is in its standard place, then runs the installed executable:
# --version, an unknown option, and a start in a temporary home far enough to
# create its files in the user's data folder.
# Usage: installed_program_test.sh BUILD-FOLDER
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
usr="$work/root/usr"
for file in bin/tarvex \
    share/applications/org.tarvex.Tarvex.desktop \
    share/metainfo/org.tarvex.Tarvex.metainfo.xml \
    share/icons/hicolor/scalable/apps/org.tarvex.Tarvex.svg \
    share/icons/hicolor/16x16/apps/org.tarvex.Tarvex.png \
    share/icons/hicolor/256x256/apps/org.tarvex.Tarvex.png \
    share/tarvex/manual/index.md \
    share/tarvex/manual/images/worksheet.png; do
    [ -f "$usr/$file" ] || fail "not installed: $file"
done
desktop="$usr/share/applications/org.tarvex.Tarvex.desktop"
grep -qx 'Categories=Office;Finance;' "$desktop" || fail "menu categories"
grep -qx 'Exec=tarvex' "$desktop" || fail "menu entry command"
grep -qx 'Icon=org.tarvex.Tarvex' "$desktop" || fail "menu entry icon"

program="$usr/bin/tarvex"
version="$("$program" --version)"
[ "$version" = "Tarvex 2.5" ] || fail "--version printed '$version'"
status=0
"$program" --no-such-option >/dev/null 2>"$work/usage" || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with $status, not 2"
grep -q '^Usage: tarvex' "$work/usage" || fail "an unknown option did not print the usage"

home="$work/home"
mkdir "$home"
folder="$(env -u XDG_DATA_HOME -u TARVEX_DATA_FOLDER HOME="$home" "$program" --prepare-data-folder)"
[ "$folder" = "$home/.local/share/Tarvex" ] || fail "data folder '$folder'"
for file in "Sales Log2.mdb" dp.dat dc.dat war.txt mini.txt unit.txt; do
    [ -f "$folder/$file" ] || fail "not created in the data folder: $file"
done
[ "$(ls -A "$usr/bin")" = "tarvex" ] || fail "files were written beside the installed program"

# A chosen folder that cannot be made is named, and nothing else is used.
touch "$work/a file"
status=0
"$program" --data-folder "$work/a file/data" --prepare-data-folder >/dev/null 2>"$work/error" || status=$?
[ "$status" -eq 1 ] || fail "an unusable data folder ended with $status, not 1"
grep -q "cannot keep its files in the folder" "$work/error" || fail "unusable folder not reported"
grep -qF "$work/a file/data" "$work/error" || fail "unusable folder not named"
echo "installed program: ok"
