#!/usr/bin/env bash
# Pelmora.exe needs no DLL beside Windows' own: every DLL in its import table is one that Windows
# itself has, as the list of the DLLs that Wine implements for it tells, or one of Windows' API
# sets (api-ms-win-...), names that Windows' loader maps to its own DLLs.
#   check_windows_imports.sh PROGRAM.EXE OBJDUMP
set -euo pipefail

program=$1
objdump=$2
windows_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
[[ -d $windows_dlls ]] || { echo "FAIL: no $windows_dlls: is wine64 installed?" >&2; exit 1; }

imports=$("$objdump" -p "$program" | awk '/DLL Name:/ { print $3 }')
[[ -n $imports ]] || { echo "FAIL: $program has no import table" >&2; exit 1; }
status=0
for dll in $imports; do
    if [[ ! -f $windows_dlls/${dll,,} && ${dll,,} != api-ms-win-*.dll ]]; then
        echo "FAIL: $program needs $dll, which is not one of Windows' own DLLs" >&2
        status=1
    fi
done
((status)) || echo "$program imports only Windows' own DLLs:" $imports
exit $status
