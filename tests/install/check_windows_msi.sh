#!/usr/bin/env bash
# The MSI, under Wine, as a deployment tool uses it: msiexec /i ... /qn installs it for all users
# into Program Files with exactly the program's files, the Start-menu shortcut, the entry in the
# list of installed programs (name, version, publisher, icon) and the version value that
# deployment tools detect it by; the installed program opens its window. Then an upgrade: the
# MSI of an older version installed first and this one over it leave one entry, of this
# version, with the files in place. Each time msiexec /x ... /qn, once by the ProductCode and
# once by the .msi, leaves no file, shortcut or registry key of Pelmora's behind.
#   check_windows_msi.sh MSI VERSION PRODUCT_CODE OLDER_MSI OLDER_VERSION OLDER_PRODUCT_CODE
#                        PUBLISHER FILE...
#   (inside tools/windows/with-wine-prefix)
set -euo pipefail

msi=$1
version=$2
product_code=$3
older_msi=$4
older_version=$5
older_product_code=$6
publisher=$7
shift 7
program_files=("$@")
drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/Pelmora"
# Windows Installer puts the shortcut of a per-machine install in the Start menu of all users,
# ProgramData's. Wine 10 takes the user's own for it all the same (dlls/msi/package.c: "FIXME:
# set to AllUsers profile path if ALLUSERS is set"), so that is where it is looked for here; a
# Wine that mends this fails here, and then ProgramData's menu is the one to check.
menu="$drive/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
uninstall_keys='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
detection_key='HKLM\Software\Pelmora'
products='HKLM\Software\Classes\Installer\Products'

source "$(dirname "$0")/wine_checks.sh"
# The keys in the list of installed programs whose name is Pelmora, one a line.
entries() {
    wine64 reg query "$uninstall_keys" /s 2>/dev/null | tr -d '\r' |
        awk '/^HKEY/ { key = $0 } $1 == "DisplayName" && $3 == "Pelmora" { print key }'
}
# msiexec with these arguments, an .msi among them named by its path as Windows sees it.
msiexec() {
    local args=() arg status=0
    for arg; do
        [[ -f $arg ]] && arg=$(wine64 winepath -w "$arg" 2>/dev/null)
        args+=("$arg")
    done
    wine64 msiexec "${args[@]}" || status=$?
    ((status == 0)) || fail "msiexec $* ended with $status"
    settle
}
# What a deployment tool sees after installing VERSION with PRODUCT_CODE.
check_installed() {
    local version=$1 product_code=$2 key icon
    key=$(entries)
    [[ $key != *$'\n'* && $key == *"\\$product_code" ]] ||
        fail "$version: the installed programs named Pelmora are '$key', not one with $product_code"
    [[ $(value "$key" DisplayVersion) == "$version" ]] ||
        fail "$version: version '$(value "$key" DisplayVersion)' in the list of installed programs"
    [[ $(value "$key" Publisher) == "$publisher" ]] ||
        fail "$version: publisher '$(value "$key" Publisher)'"
    # The icon: Windows Installer keeps it with the product's registration, where the list of
    # installed programs takes it from.
    key=$(wine64 reg query "$products" /s 2>/dev/null | tr -d '\r' |
        awk '/^HKEY/ { key = $0 } $1 == "ProductName" && $3 == "Pelmora" { print key }')
    icon=$(wine64 winepath -u "$(value "$key" ProductIcon)" 2>/dev/null)
    [[ $icon == *pelmora.ico && -s $icon ]] || fail "$version: icon '$(value "$key" ProductIcon)'"
    [[ $(value "$detection_key" Version) == "$version" ]] ||
        fail "$version: '$(value "$detection_key" Version)' in $detection_key"
    diff <(printf '%s\n' "${program_files[@]}" | sort) <(ls "$folder" | sort) >&2 ||
        fail "$version: $folder does not hold exactly the program's files (above: < missing, > extra)"
    [[ -f $menu/Pelmora.lnk ]] || fail "$version: no shortcut in $menu"
    echo "$version: installed, $product_code"
}
# After an uninstall: nothing of Pelmora's but what was there before.
check_removed() {
    local left
    left=$(comm -13 <(echo "$before") <(files))
    [[ -z $left ]] || fail "$1: these were left behind:"$'\n'"$left"
    [[ -z $(registry_mentions) ]] || fail "$1: the registry still mentions Pelmora: $(registry_mentions)"
    echo "$1: nothing of Pelmora's is left"
}

# Windows has the folder where Windows Installer keeps the packages it installed; Wine makes it
# at the first install.
mkdir -p "$drive/windows/Installer"
settle
before=$(files)
[[ -z $(registry_mentions) ]] || fail "the registry mentions Pelmora before the install"

start=$SECONDS
msiexec /i "$msi" /qn
check_installed "$version" "$product_code"
# The installed program opens its window (Wine names it after the program's file).
wine64 "$folder/Pelmora.exe" &
program=$!
window=$(timeout 60 xdotool search --sync --classname '^pelmora\.exe$' | head -n 1) ||
    fail "the installed program showed no window within 60 s"
kill -0 "$program" || fail "the installed program ended"
kill "$program"
wait "$program" || true
settle
echo "its window $window appeared"
msiexec /x "$product_code" /qn
check_removed "uninstall by ProductCode"
echo "install and uninstall: $((SECONDS - start)) s"

start=$SECONDS
msiexec /i "$older_msi" /qn
check_installed "$older_version" "$older_product_code"
msiexec /i "$msi" /qn
check_installed "$version" "$product_code"
msiexec /x "$msi" /qn
check_removed "upgrade from $older_version, uninstall by the .msi"
echo "upgrade and uninstall: $((SECONDS - start)) s"
