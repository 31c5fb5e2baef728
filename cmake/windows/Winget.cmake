# The winget manifests of this version, made once both installers are (and, when they are
# signed, after that), so that they carry the final files' SHA-256: in
# build-windows/winget/<PackageIdentifier>/<version>/, ready to submit to the winget package
# repository, whose reviewers check them with winget's own validation.
set(PELMORA_WINGET_ID Pelmora.Pelmora)
# Where the installers are published for download.
set(PELMORA_DOWNLOAD_URL https://${PELMORA_WEB_ADDRESS}/)
set(PELMORA_WINGET_DIR ${PROJECT_BINARY_DIR}/winget/${PELMORA_WINGET_ID}/${PROJECT_VERSION})
set(PELMORA_WINGET_MANIFESTS
    ${PELMORA_WINGET_DIR}/${PELMORA_WINGET_ID}.yaml
    ${PELMORA_WINGET_DIR}/${PELMORA_WINGET_ID}.installer.yaml
    ${PELMORA_WINGET_DIR}/${PELMORA_WINGET_ID}.locale.bg-BG.yaml)
add_custom_command(
    OUTPUT ${PELMORA_WINGET_MANIFESTS}
    COMMAND ${CMAKE_COMMAND}
            -D ID=${PELMORA_WINGET_ID}
            -D VERSION=${PROJECT_VERSION}
            -D PUBLISHER=${PELMORA_WEB_ADDRESS}
            -D YEAR=${PELMORA_RELEASE_YEAR}
            -D DOWNLOAD_URL=${PELMORA_DOWNLOAD_URL}
            -D SETUP=${PELMORA_WINDOWS_SETUP}
            -D MSI=${PELMORA_WINDOWS_MSI}
            -D PRODUCT_CODE=${PELMORA_MSI_PRODUCT_CODE}
            -D UPGRADE_CODE=${PELMORA_MSI_UPGRADE_CODE}
            -D OUTPUT=${PELMORA_WINGET_DIR}
            -P ${CMAKE_CURRENT_LIST_DIR}/write-winget-manifests.cmake
    DEPENDS ${PELMORA_WINDOWS_SETUP} ${PELMORA_WINDOWS_MSI}
            ${CMAKE_CURRENT_LIST_DIR}/write-winget-manifests.cmake
    COMMENT "Writing the winget manifests"
    VERBATIM)
target_sources(windows_package PRIVATE ${PELMORA_WINGET_MANIFESTS})
