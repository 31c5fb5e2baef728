#!/usr/bin/env bash
# Builds the Debian package and has lintian check it against Debian's rules: any error or
# warning fails. Its informational notes are shown but pass.
#   check_lintian.sh BUILD-DIR
set -euo pipefail
build=$1

command -v lintian >/dev/null || { echo "lintian is not installed; skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null)
deb=$(find "$work/out" -maxdepth 1 -name 'pelmora_*.deb' | head -n 1)
[[ -n $deb ]] || { echo "FAIL: no package was built" >&2; exit 1; }

# lintian warns on stderr when run as root, which says nothing about the package. It leaves
# temporary files behind, so they go into the scratch folder.
TMPDIR=$work lintian --info --pedantic --fail-on error,warning "$deb" \
    2> >(grep -v 'root privileges' >&2) ||
    { echo "FAIL: lintian found errors or warnings in $(basename "$deb")" >&2; exit 1; }
echo "ok"
