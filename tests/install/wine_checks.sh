# What the Windows install checks share; sourced by them, inside tools/windows/with-wine-prefix,
# with `drive` set to the prefix's drive C.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Waits until every Windows process has ended and the registry is written to disk.
settle() { wineserver -w; }
files() { find "$drive" -mindepth 1 | sort; }
registry_mentions() { grep -il pelmora "$WINEPREFIX"/*.reg || true; }
# One value of a registry key, or nothing.
#   value KEY NAME
value() {
    wine64 reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name { $1 = $2 = ""; sub(/^ +/, ""); print }'
}
