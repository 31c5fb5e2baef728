#!/usr/bin/env bash
# The Windows installer, under Wine, in both of its modes: for all users (Wine's user is an
# administrator, so that is what a plain /S does) and for the current user alone. Each time the
# silent install puts the program, its licence and uninstaller in place, with the Start-menu
# shortcut and the entry in the list of installed programs; the installed program opens its
# window; and the silent uninstall that the entry names leaves no file, shortcut or registry
# key of Pelmora's behind (its own copy in the temporary folder goes at the next restart, as on
# Windows).
#   check_windows_installer.sh SETUP.EXE VERSION PUBLISHER FILE...   (inside tools/windows/with-wine-prefix)
set -euo pipefail

setup=$1
version=$2
publisher=$3
shift 3
program_files=("$@" uninstall.exe)
drive=$WINEPREFIX/drive_c

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Waits until every Windows process has ended and the registry is written to disk.
settle() { wineserver -w; }
files() { find "$drive" -mindepth 1 | sort; }
registry_mentions() { grep -il pelmora "$WINEPREFIX"/*.reg || true; }
# One value of the program's key in the list of installed programs.
entry() {
    wine64 reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v name="$1" '$1 == name { $1 = $2 = ""; sub(/^ +/, ""); print }'
}

settle
before=$(files)
[[ -z $(registry_mentions) ]] || fail "the registry mentions Pelmora before the install"

for mode in all current; do
    if [[ $mode == all ]]; then
        wine64 "$setup" /S
        key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmora'
        menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs"
    else
        wine64 "$setup" /S /CurrentUser
        key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmora'
        menu="$drive/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
    fi
    settle

    [[ $(entry DisplayName) == Pelmora ]] || fail "$mode: no entry in $key"
    [[ $(entry DisplayVersion) == "$version" ]] || fail "$mode: version '$(entry DisplayVersion)'"
    [[ $(entry Publisher) == "$publisher" ]] || fail "$mode: publisher '$(entry Publisher)'"
    folder=$(wine64 winepath -u "$(entry InstallLocation)" 2>/dev/null)
    [[ $(entry DisplayIcon) == "$(entry InstallLocation)\\Pelmora.exe,0" ]] ||
        fail "$mode: icon '$(entry DisplayIcon)'"
    size=$(entry EstimatedSize)
    [[ $size == 0x* ]] && ((size > 0)) || fail "$mode: size '$size'"
    for file in "${program_files[@]}"; do
        [[ -f $folder/$file ]] || fail "$mode: $file is not in $folder"
    done
    [[ -f $menu/Pelmora.lnk ]] || fail "$mode: no shortcut in $menu"

    # The installed program opens its window (Wine names it after the program's file).
    wine64 "$folder/Pelmora.exe" &
    program=$!
    window=$(timeout 60 xdotool search --sync --classname '^pelmora\.exe$' | head -n 1) ||
        fail "$mode: the installed program showed no window within 60 s"
    kill -0 "$program" || fail "$mode: the installed program ended"
    kill "$program"
    wait "$program" || true
    echo "$mode: installed in $folder; its window $window appeared"

    # The entry's silent uninstall command: the quoted program, then its switches.
    uninstall=$(entry QuietUninstallString)
    [[ $uninstall =~ ^\"([^\"]+)\"\ (.*\ /S)$ ]] || fail "$mode: quiet uninstall '$uninstall'"
    read -ra switches <<<"${BASH_REMATCH[2]}"
    wine64 "${BASH_REMATCH[1]}" "${switches[@]}"
    settle

    left=$(comm -13 <(echo "$before") <(files) | grep -v '/Temp/' || true)
    [[ -z $left ]] || fail "$mode: the uninstall left these behind:"$'\n'"$left"
    [[ -z $(registry_mentions) ]] || fail "$mode: the registry still mentions Pelmora"
    # What is left is the uninstaller's copy of itself in the temporary folder, which Windows
    # deletes when it next starts; wineboot --restart does what Windows does then.
    wine64 wineboot --restart
    settle
    left=$(comm -13 <(echo "$before") <(files))
    [[ -z $left ]] || fail "$mode: a restart left these behind:"$'\n'"$left"
    echo "$mode: uninstalled; nothing of Pelmora's is left"
done
