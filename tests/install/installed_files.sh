# The files that installing Pelmora puts on a machine, relative to the install prefix; sourced by
# the install and package checks.
#   installed_files APP-ID
installed_files() {
    local id=$1 size
    echo bin/pelmora
    echo "share/applications/$id.desktop"
    echo "share/metainfo/$id.metainfo.xml"
    for size in 32 48 64 128 256; do
        echo "share/icons/hicolor/${size}x${size}/apps/$id.png"
    done
    echo share/man/man1/pelmora.1.gz
    echo share/doc/pelmora/copyright
    echo share/doc/pelmora/changelog.gz
}
