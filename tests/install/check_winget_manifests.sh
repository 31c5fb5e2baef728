#!/usr/bin/env bash
# The winget manifests of this version, as the winget package repository's validation reads
# them: the three files where it looks for them (<id>/<version>/<id>.yaml, .installer.yaml,
# .locale.<default locale>.yaml), each with the fields that the 1.6.0 schema requires of its
# manifest type, the same identifier, version and manifest version in all three, one installer
# entry for each installer with the fields required of an entry, and in each the SHA-256 of the
# installer file as it is, found by the name its download address ends with. The MSI's entry
# carries the ProductCode that the MSI itself holds.
#   check_winget_manifests.sh MANIFEST_DIR INSTALLER...   (MANIFEST_DIR: winget/<id>/<version>)
set -euo pipefail

dir=$1
shift
installers=("$@")

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# A top-level field's value, without quotes.
field() { sed -n "s/^$2: *//p" "$1" | sed "s/^'\(.*\)'$/\1/"; }
# The installer entries' fields, one "ENTRY FIELD VALUE" a line: a "- " at the start of a line
# under Installers begins an entry; its fields are indented by two.
installer_fields() {
    awk '/^[A-Za-z]/ { inside = ($0 == "Installers:") ; next }
         inside && /^- / { entry++; sub(/^- /, "  ") }
         inside && /^  [A-Za-z0-9]+:/ {
             key = $1; sub(/:$/, "", key); value = $0; sub(/^ *[A-Za-z0-9]+: */, "", value)
             gsub(/^'\''|'\''$/, "", value); print entry, key, value }' "$1"
}
# Fails unless FILE has each of the top-level FIELDs, not empty.
require() {
    local file=$1 name
    shift
    for name; do
        # A value on the line, or a list below it.
        [[ -n $(field "$file" "$name") ]] || grep -A 1 "^$name:$" "$file" | grep -q '^- ' ||
            fail "$(basename "$file") has no $name"
    done
}

id=$(basename "$(dirname "$dir")")
version=$(basename "$dir")
version_manifest=$dir/$id.yaml
installer_manifest=$dir/$id.installer.yaml
[[ -f $version_manifest && -f $installer_manifest ]] ||
    fail "$dir has no $id.yaml and $id.installer.yaml"
locale=$(field "$version_manifest" DefaultLocale)
locale_manifest=$dir/$id.locale.$locale.yaml
[[ -f $locale_manifest ]] || fail "no $(basename "$locale_manifest") for the default locale '$locale'"
(($(ls "$dir" | wc -l) == 3)) || fail "$dir holds more than the three manifests: $(ls "$dir")"

# The fields that the 1.6.0 schemas require of each manifest type.
require "$version_manifest" PackageIdentifier PackageVersion DefaultLocale ManifestType ManifestVersion
require "$locale_manifest" PackageIdentifier PackageVersion PackageLocale Publisher PackageName \
    License ShortDescription ManifestType ManifestVersion
require "$installer_manifest" PackageIdentifier PackageVersion Installers ManifestType ManifestVersion

for manifest in "$version_manifest" "$locale_manifest" "$installer_manifest"; do
    name=$(basename "$manifest")
    [[ $(field "$manifest" PackageIdentifier) == "$id" ]] || fail "$name: identifier is not $id"
    [[ $(field "$manifest" PackageVersion) == "$version" ]] || fail "$name: version is not $version"
    [[ $(field "$manifest" ManifestVersion) == 1.6.0 ]] || fail "$name: manifest version is not 1.6.0"
done
[[ $id =~ ^[^.[:space:]]{1,32}(\.[^.[:space:]]{1,32}){1,7}$ ]] || fail "'$id' is no package identifier"
[[ $(field "$version_manifest" ManifestType) == version ]] || fail "$id.yaml is not of type version"
[[ $(field "$installer_manifest" ManifestType) == installer ]] || fail "not of type installer"
[[ $(field "$locale_manifest" ManifestType) == defaultLocale ]] || fail "not of type defaultLocale"
[[ $(field "$locale_manifest" PackageLocale) == "$locale" ]] || fail "the locale manifest is not $locale"

# Each installer entry: its required fields, and the installer it names as it is.
fields=$(installer_fields "$installer_manifest")
entries=$(awk '{ print $1 }' <<<"$fields" | sort -u)
(($(grep -c . <<<"$entries") == ${#installers[@]})) ||
    fail "$((${#installers[@]})) installers, but these entries:"$'\n'"$fields"
top_type=$(field "$installer_manifest" InstallerType)
for entry in $entries; do
    get() { awk -v entry="$entry" -v key="$1" '$1 == entry && $2 == key { print $3 }' <<<"$fields"; }
    for name in Architecture InstallerUrl InstallerSha256; do
        [[ -n $(get $name) ]] || fail "installer $entry has no $name"
    done
    type=$(get InstallerType)
    type=${type:-$top_type}
    [[ -n $type ]] || fail "installer $entry has no InstallerType"
    url=$(get InstallerUrl)
    [[ $url == https://* ]] || fail "installer $entry: '$url' is not an https address"
    file=
    for installer in "${installers[@]}"; do
        [[ $(basename "$installer") == "${url##*/}" ]] && file=$installer
    done
    [[ -n $file ]] || fail "installer $entry: $url names none of ${installers[*]}"
    sha256=$(sha256sum "$file" | cut -d ' ' -f 1)
    [[ ${sha256^^} == "$(get InstallerSha256)" ]] ||
        fail "installer $entry: the SHA-256 of $(basename "$file") is $sha256, not $(get InstallerSha256)"
    if [[ $type == msi || $type == wix ]]; then
        product_code=$(msiinfo export "$file" Property | tr -d '\r' | awk '$1 == "ProductCode" { print $2 }')
        [[ $(get ProductCode) == "$product_code" ]] ||
            fail "installer $entry: ProductCode '$(get ProductCode)', but the MSI's is '$product_code'"
    fi
    echo "$(basename "$file"): $type, SHA-256 $sha256"
done
