#!/usr/bin/env bash
# The Windows installer, under Wine, as a school's deployment tools use it, in both of its
# modes: for all users (Wine's user is an administrator, so that is what a plain /S does) and for
# the current user alone.
# - Each time the silent install puts the program and the files beside it in place, in Program
#   Files or in the user's own programs folder, with the Start-menu shortcut and one entry in the
#   list of installed programs; a second /S leaves one entry; the installed program opens its
#   window; and the silent uninstall that the entry names leaves no file, shortcut or registry
#   key of Pelmora's behind (its own copy in the temporary folder goes at the next restart, as
#   on Windows).
# - The installer over an earlier version's (PREVIOUS-SETUP) replaces it in place: one entry,
#   the new version, the same folder; a plain /S follows an earlier install for the current user
#   into that user's folder rather than adding one for all users. While the earlier Pelmora
#   runs, the silent installer and the silent uninstaller stop with exit code 3 and change
#   nothing; once it is closed the upgrade goes through.
#   check_windows_installer.sh SETUP.EXE VERSION PREVIOUS-SETUP.EXE PREVIOUS-VERSION PUBLISHER FILE...
#   (inside tools/windows/with-wine-prefix)
set -euo pipefail

setup=$1
version=$2
previous_setup=$3
previous_version=$4
publisher=$5
shift 5
program_files=("$@" uninstall.exe)
drive=$(realpath "$WINEPREFIX/drive_c")
user=$(id -un)
# The installer's exit code when Pelmora is open (pelmora.nsi.in).
program_open=3

source "$(dirname "$0")/wine_checks.sh"
# How many entries in the lists of installed programs (the machine's and the user's) are
# Pelmora's, as written to disk.
entries() { cat "$WINEPREFIX"/system.reg "$WINEPREFIX"/user.reg | grep -c '^"DisplayName"="Pelmora"' || true; }
# One value of the program's key in the list of installed programs.
entry() { value "$key" "$1"; }
# The checksums of the installed files, to show that they are untouched.
checksums() { (cd "$folder" && sha256sum "${program_files[@]}"); }
# Runs a Windows program and prints its exit code.
exit_code() {
    local code=0
    wine64 "$@" >&2 || code=$?
    echo "$code"
}

# use_mode all|current: the key, the folder and the Start menu of that mode.
use_mode() {
    mode=$1
    if [[ $mode == all ]]; then
        key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmora'
        expected_folder="$drive/Program Files/Pelmora"
        menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs"
        switches=(/S)
        mode_switch=/AllUsers
    else
        key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmora'
        expected_folder="$drive/users/$user/AppData/Local/Programs/Pelmora"
        menu="$drive/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
        switches=(/S /CurrentUser)
        mode_switch=/CurrentUser
    fi
}

# check_installed VERSION: Pelmora VERSION is installed, once, in the current mode's place.
check_installed() {
    [[ $(entries) == 1 ]] || fail "$mode: $(entries) entries in the lists of installed programs"
    [[ $(entry DisplayName) == Pelmora ]] || fail "$mode: no entry in $key"
    [[ $(entry DisplayVersion) == "$1" ]] || fail "$mode: version '$(entry DisplayVersion)', not $1"
    [[ $(entry Publisher) == "$publisher" ]] || fail "$mode: publisher '$(entry Publisher)'"
    folder=$(realpath "$(wine64 winepath -u "$(entry InstallLocation)" 2>/dev/null)")
    [[ $folder == "$expected_folder" ]] || fail "$mode: installed in $folder, not $expected_folder"
    [[ $(entry DisplayIcon) == "$(entry InstallLocation)\\Pelmora.exe,0" ]] ||
        fail "$mode: icon '$(entry DisplayIcon)'"
    size=$(entry EstimatedSize)
    [[ $size == 0x* ]] && ((size > 0)) || fail "$mode: size '$size'"
    for file in "${program_files[@]}"; do
        [[ -f $folder/$file ]] || fail "$mode: $file is not in $folder"
    done
    [[ -f $menu/Pelmora.lnk ]] || fail "$mode: no shortcut in $menu"
}

# start_program: starts the installed Pelmora and waits for its window (Wine names it after the
# program's file).
program=
# A program left running would hold CTest's output open, and CTest would wait for it.
trap '[[ -z $program ]] || kill "$program" 2>/dev/null || true' EXIT
start_program() {
    wine64 "$folder/Pelmora.exe" &
    program=$!
    window=$(timeout 60 xdotool search --sync --classname '^pelmora\.exe$' | head -n 1) ||
        fail "$mode: the installed program showed no window within 60 s"
    kill -0 "$program" || fail "$mode: the installed program ended"
}
stop_program() {
    kill "$program"
    wait "$program" || true
    program=
}

# uninstall: runs the entry's silent uninstall command and checks that nothing is left.
uninstall() {
    local uninstall
    # The entry's silent uninstall command: the quoted program, then its switches.
    uninstall=$(entry QuietUninstallString)
    [[ $uninstall =~ ^\"([^\"]+)\"\ (.*\ /S)$ ]] || fail "$mode: quiet uninstall '$uninstall'"
    read -ra uninstall_switches <<<"${BASH_REMATCH[2]}"
    wine64 "${BASH_REMATCH[1]}" "${uninstall_switches[@]}"
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
}

settle
before=$(files)
[[ -z $(registry_mentions) ]] || fail "the registry mentions Pelmora before the install"

for mode in all current; do
    use_mode $mode
    wine64 "$setup" "${switches[@]}"
    settle
    check_installed "$version"
    wine64 "$setup" "${switches[@]}"
    settle
    check_installed "$version"

    start_program
    stop_program
    echo "$mode: installed in $folder, twice, as one entry; its window $window appeared"
    uninstall
done

# The upgrade; for all users, with the earlier Pelmora open first. The uninstaller runs from a copy of itself that it
# makes, whose exit code its caller does not see; as NSIS's documentation says, a caller that
# needs it runs such a copy itself, with _?= naming the program's folder. That must end the
# command line unquoted, spaces and all, which Windows' cmd /c passes on as it is given.
for mode in all current; do
    use_mode $mode
    wine64 "$previous_setup" "${switches[@]}"
    settle
    check_installed "$previous_version"
    previous_folder=$folder
    previous_checksums=$(checksums)

    # With the earlier Pelmora open (once is enough: both modes share the check).
    if [[ $mode == all ]]; then
        start_program
        code=$(exit_code "$setup" /S)
        ((code == program_open)) || fail "$mode: the installer, with Pelmora open, ended with $code"
        [[ $(checksums) == "$previous_checksums" ]] || fail "$mode: the installer changed files of the open Pelmora"
        [[ $(entry DisplayVersion) == "$previous_version" ]] ||
            fail "$mode: the entry is of version '$(entry DisplayVersion)' after a stopped upgrade"
        mkdir -p "$drive/pelmora-uninstall"
        cp "$folder/uninstall.exe" "$drive/pelmora-uninstall/"
        code=$(exit_code cmd /c "C:\pelmora-uninstall\uninstall.exe $mode_switch /S _?=$(entry InstallLocation)")
        rm -rf "$drive/pelmora-uninstall"
        ((code == program_open)) || fail "$mode: the uninstaller, with Pelmora open, ended with $code"
        [[ $(checksums) == "$previous_checksums" ]] || fail "$mode: the uninstaller changed files of the open Pelmora"
        [[ $(entry DisplayName) == Pelmora ]] || fail "$mode: the uninstaller removed the entry of the open Pelmora"
        stop_program
        settle
    fi

    wine64 "$setup" /S
    settle
    check_installed "$version"
    [[ $folder == "$previous_folder" ]] || fail "$mode: upgraded into $folder, not $previous_folder"
    echo "$mode: upgraded $previous_version to $version in place"
    uninstall
done
