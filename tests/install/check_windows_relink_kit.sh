#!/usr/bin/env bash
# The relink kit works: unpacked into a scratch folder, its relink.sh relinks Pelmora.exe against
# the given Qt (the one that built the program, as a user builds it from the published Qt
# source), and the relinked program, under Wine, shows the same window as the published one,
# pixel for pixel, as it opens and after a calculation (tools/windows/screenshot).
#   check_windows_relink_kit.sh KIT.ZIP QT-FOLDER PUBLISHED-PELMORA.EXE SCREENSHOT-TOOL
#   (inside tools/windows/with-wine-prefix)
set -euo pipefail

kit=$1
qt=$2
published=$3
screenshot=$4

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-relink-kit.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

python3 -m zipfile -e "$kit" "$scratch/kit"
relink=$(echo "$scratch"/kit/*/relink.sh)
mkdir "$scratch/relinked"
bash "$relink" "$qt" "$scratch/relinked/Pelmora.exe" || fail "the kit did not relink Pelmora.exe"
if cmp -s "$published" "$scratch/relinked/Pelmora.exe"; then
    echo "The relinked Pelmora.exe is byte for byte the published one"
fi

"$screenshot" "$published" "$scratch/published" >/dev/null
"$screenshot" "$scratch/relinked/Pelmora.exe" "$scratch/relinked" >/dev/null
for picture in window.png calculated.png; do
    differing=$(compare -metric AE "$scratch/published/$picture" "$scratch/relinked/$picture" null: 2>&1) ||
        true
    [[ $differing == 0 ]] || fail "the relinked program's $picture differs from the published one's: $differing"
done
echo "The relinked Pelmora.exe shows the published one's window, as it opens and after calculating"
