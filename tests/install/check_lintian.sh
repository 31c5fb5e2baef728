#!/usr/bin/env bash
# Builds the Debian package and has lintian check it against Debian's rules: any error or
# warning fails, and so does any note about hardening. Its other informational notes are shown
# but pass.
#   check_lintian.sh BUILD-DIR
set -euo pipefail
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

command -v lintian >/dev/null || { echo "lintian is not installed; skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null)
deb=$(find "$work/out" -maxdepth 1 -name 'pelmora_*.deb' | head -n 1)
[[ -n $deb ]] || fail "no package was built"

# lintian warns when run as root, which says nothing about the package. It leaves temporary
# files behind, so they go into the scratch folder.
status=0
report=$(TMPDIR=$work lintian --display-info --pedantic --fail-on error,warning "$deb" 2>&1) || status=$?
grep -v 'root privileges' <<<"$report" || true
((status == 0)) || fail "lintian found errors or warnings in $(basename "$deb")"
# Missing hardening flags are mostly informational notes to lintian; here they fail too.
if grep -q ' hardening-' <<<"$report"; then
    fail "the program is built without some of the hardening flags"
fi
echo "ok"
