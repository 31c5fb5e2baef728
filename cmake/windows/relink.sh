#!/usr/bin/env bash
# Relinks Pelmora.exe from the files of this kit against a Qt for Windows of your own: a static
# Qt built with MinGW-w64 for 64-bit Windows, for instance from pelmora-<version>-qt-source.tar
# with its tools/windows/build-qt (Debian 13, MinGW-w64 with GCC 14), changed as you wish. It runs
# the command that linked the published Pelmora.exe (link-command.sh) in a scratch copy of the
# folder build/, with QT set to your Qt's folder, then strips the result as the published program
# is stripped.
#   ./relink.sh QT-FOLDER [OUTPUT.EXE]   (OUTPUT.EXE: Pelmora.exe in the current folder unless given)
# CXX and STRIP choose other tools than MinGW-w64's x86_64-w64-mingw32-g++-posix and -strip.
set -euo pipefail

kit=$(cd "$(dirname "$0")" && pwd)
QT=$(cd "${1:?usage: relink.sh QT-FOLDER [OUTPUT.EXE]}" && pwd)
output=$(realpath -m "${2:-Pelmora.exe}")
CXX=${CXX:-x86_64-w64-mingw32-g++-posix}
STRIP=${STRIP:-x86_64-w64-mingw32-strip}
[[ -d $QT/lib/cmake/Qt6 ]] || { echo "relink.sh: $QT holds no Qt 6" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-relink.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -R "$kit/build/." "$work/"
link_command=()
# shellcheck source=/dev/null # made with the kit
source "$kit/link-command.sh"
(cd "$work" && "${link_command[@]}")
"$STRIP" --strip-all -o "$output" "$work/Pelmora.exe"
echo "Relinked $output against $QT"
