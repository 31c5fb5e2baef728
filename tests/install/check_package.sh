#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root, checks its contents and its
# dependencies and its version, and starts the unpacked program on a virtual display until its
# window shows.
#   check_package.sh BUILD-DIR APP-ID SOURCE-DIR VERSION
set -euo pipefail
source "$(dirname "$0")/installed_files.sh"
build=$1
id=$2
source=$3
version=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null)
deb=$(find "$work/out" -maxdepth 1 -name 'pelmora_*.deb' | head -n 1)
[[ -n $deb ]] || fail "no package was built"

[[ $(dpkg-deb -f "$deb" Package) == pelmora ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 'fonts-liberation (>= 1:2.1) | fonts-liberation2' \
    qt6-translations-l10n; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
[[ $(dpkg-deb -f "$deb" Recommends) == *qt6-wayland* ]] || fail "Recommends lacks qt6-wayland"

root=$work/root
dpkg-deb -x "$deb" "$root"
mapfile -t expected < <(installed_files "$id" | sed 's|^|usr/|')
for f in "${expected[@]}"; do
    [[ -f $root/$f ]] || fail "the package lacks $f"
done
count=$(find "$root" -type f | wc -l)
[[ $count == "${#expected[@]}" ]] || { find "$root" -type f >&2; fail "unexpected files in the package"; }

# Software centres and the changelog name the package's version.
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo's release is not version $version"
latest=$(zcat "$root/usr/share/doc/pelmora/changelog.gz" | sed -n 1p)
[[ $latest == "pelmora ($version) "* ]] || fail "the changelog's latest entry is not version $version"

# The unpacked program starts and shows its window.
"$source/tools/run-headless" "$root/usr/bin/pelmora" "$work/window.png" >/dev/null
[[ -s $work/window.png ]] || fail "the unpacked program showed no window"
echo "ok"
