# `make windows-package` (the target windows_package): the Windows installer
# pelmora-<version>-setup.exe, made with NSIS from pelmora.nsi.in, and the portable
# pelmora-<version>-windows.zip. Both hold the stripped Pelmora.exe and LICENSE.txt: the
# program's licence followed by those of the static Qt inside it and of the libraries Qt bundles,
# which tools/windows/build-qt collected beside that Qt.
set(PELMORA_QT_LICENSES "${QT6_INSTALL_PREFIX}/licenses/Qt.txt")
if(NOT EXISTS "${PELMORA_QT_LICENSES}")
    message(STATUS "No installer: this Qt has no ${PELMORA_QT_LICENSES} (tools/windows/build-qt)")
    return()
endif()
find_program(PELMORA_MAKENSIS makensis REQUIRED)

set(PELMORA_WINDOWS_STAGE ${PROJECT_BINARY_DIR}/package/Pelmora)
set(PELMORA_WINDOWS_SETUP ${PROJECT_BINARY_DIR}/pelmora-${PROJECT_VERSION}-setup.exe)
set(PELMORA_WINDOWS_ZIP ${PROJECT_BINARY_DIR}/pelmora-${PROJECT_VERSION}-windows.zip)

# LICENSE.txt as Windows' own tools read it best: UTF-8 with a byte-order mark, CRLF line ends.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${PELMORA_QT_LICENSES}")
string(ASCII 239 187 191 byte_order_mark)
file(READ "${PELMORA_QT_LICENSES}" qt_licenses)
set(license_text "${byte_order_mark}Pelmora ${PELMORA_VERSION_TEXT}
Copyright ${PELMORA_RELEASE_YEAR} ${PELMORA_WEB_ADDRESS}

Pelmora, нейните картини и текстове са собственост на ${PELMORA_WEB_ADDRESS}.
Всички права запазени. Pelmora съдържа библиотеката Qt, свързана статично;
лицензите на Qt и на включените в нея компоненти следват (на английски).

${PELMORA_LICENSE}

Pelmora contains Qt, linked statically. Its licence and those of the components it bundles
follow.

${qt_licenses}")
string(REGEX REPLACE "\r?\n" "\r\n" license_text "${license_text}")
set(PELMORA_WINDOWS_LICENSE ${PROJECT_BINARY_DIR}/generated/LICENSE.txt)
file(WRITE ${PELMORA_WINDOWS_LICENSE}.new "${license_text}")
file(COPY_FILE ${PELMORA_WINDOWS_LICENSE}.new ${PELMORA_WINDOWS_LICENSE} ONLY_IF_DIFFERENT)
file(REMOVE ${PELMORA_WINDOWS_LICENSE}.new)

# What the installers put in the program's folder, beside the uninstaller: the one list that the
# installer's File and Delete lines and the installer's test are made from.
set(PELMORA_WINDOWS_FILES Pelmora.exe LICENSE.txt)
set(PELMORA_NSIS_INSTALL_FILES "")
set(PELMORA_NSIS_UNINSTALL_FILES "")
foreach(file IN LISTS PELMORA_WINDOWS_FILES)
    string(APPEND PELMORA_NSIS_INSTALL_FILES "    File \"${PELMORA_WINDOWS_STAGE}/${file}\"\n")
    string(APPEND PELMORA_NSIS_UNINSTALL_FILES "    Delete \"$INSTDIR\\${file}\"\n")
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/Signing.cmake)
pelmora_sign_step(sign_program ${PELMORA_WINDOWS_STAGE}/Pelmora.exe)
pelmora_sign_step(sign_setup ${PELMORA_WINDOWS_SETUP})

file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
configure_file(${CMAKE_CURRENT_LIST_DIR}/pelmora.nsi.in
               ${PROJECT_BINARY_DIR}/generated/pelmora.nsi @ONLY)

add_custom_command(
    OUTPUT ${PELMORA_WINDOWS_SETUP} ${PELMORA_WINDOWS_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${PELMORA_WINDOWS_STAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PELMORA_WINDOWS_STAGE}
    COMMAND ${CMAKE_STRIP} --strip-all -o ${PELMORA_WINDOWS_STAGE}/Pelmora.exe $<TARGET_FILE:pelmora>
    ${sign_program}
    COMMAND ${CMAKE_COMMAND} -E copy ${PELMORA_WINDOWS_LICENSE} ${PELMORA_WINDOWS_STAGE}/
    COMMAND ${PELMORA_MAKENSIS} -V2 -INPUTCHARSET UTF8 ${PROJECT_BINARY_DIR}/generated/pelmora.nsi
    ${sign_setup}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${PELMORA_WINDOWS_ZIP} --format=zip Pelmora
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/package
    DEPENDS pelmora ${PELMORA_WINDOWS_LICENSE} ${PROJECT_BINARY_DIR}/generated/pelmora.nsi
    COMMENT "Making the Windows installer and the portable zip"
    VERBATIM)
add_custom_target(windows_package DEPENDS ${PELMORA_WINDOWS_SETUP} ${PELMORA_WINDOWS_ZIP})
# The MSI, and the winget manifests of both installers.
include(${CMAKE_CURRENT_LIST_DIR}/Msi.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/Winget.cmake)
