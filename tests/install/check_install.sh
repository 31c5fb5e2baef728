#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that every file lands where the desktop
# looks for it, under the names the other files use, and that the desktop entry and the
# metainfo pass their validators there.
#   check_install.sh BUILD-DIR APP-ID
set -euo pipefail
source "$(dirname "$0")/installed_files.sh"
build=$1
id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
expect_file() { [[ -f $prefix/$1 ]] || fail "missing $1"; }

png_size() { # width x height from the PNG header
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'
}

mapfile -t files < <(installed_files "$id")
for f in "${files[@]}"; do
    expect_file "$f"
done
[[ -x $prefix/bin/pelmora ]] || fail "bin/pelmora is not executable"
for size in 32 48 64 128 256; do
    icon=share/icons/hicolor/${size}x${size}/apps/$id.png
    [[ $(png_size "$prefix/$icon") == "${size}x${size}" ]] || fail "$icon is not ${size}x${size}"
done
desktop=share/applications/$id.desktop
metainfo=share/metainfo/$id.metainfo.xml

# The entry starts the installed program and names the installed icon.
grep -qx "Exec=pelmora" "$prefix/$desktop" || fail "Exec does not start pelmora"
grep -qx "Icon=$id" "$prefix/$desktop" || fail "Icon is not $id"
grep -qx "Categories=Education;Math;" "$prefix/$desktop" || fail "Categories"
grep -q "^Name\[bg\]=" "$prefix/$desktop" || fail "no Bulgarian name"
grep -q "^Comment\[bg\]=" "$prefix/$desktop" || fail "no Bulgarian comment"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/$metainfo" ||
    fail "the metainfo does not launch $id.desktop"
grep -q "<id>$id</id>" "$prefix/$metainfo" || fail "the metainfo id is not $id"

desktop-file-validate "$prefix/$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/$metainfo" >/dev/null || fail "appstreamcli validate"

# Nothing else is installed.
count=$(find "$prefix" -type f | wc -l)
[[ $count == "${#files[@]}" ]] ||
    { find "$prefix" -type f >&2; fail "expected ${#files[@]} installed files, found $count"; }
echo "ok"
