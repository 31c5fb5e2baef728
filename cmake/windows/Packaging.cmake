# `make windows-package` (the target windows_package), all in the build folder:
# - the Windows installer pelmora-<version>-x64-setup.exe, made with NSIS from pelmora.nsi.in,
#   and the portable pelmora-<version>-x64.zip. Both hold the stripped Pelmora.exe, LICENSE.txt
#   (the program's licence followed by those of the static Qt inside it and of the libraries Qt
#   bundles, which tools/windows/build-qt collected beside that Qt) and NOTICE.txt (what Qt's
#   licence, the LGPL 3, lets the user do with the Qt inside Pelmora.exe, and where to get what
#   that takes);
# - those two things, which go beside the installers: the relink kit
#   pelmora-<version>-x64-relink-kit.zip (RelinkKit.cmake) and the source of that Qt,
#   pelmora-<version>-qt-source.tar.
set(PELMORA_QT_LICENSES "${QT6_INSTALL_PREFIX}/licenses/Qt.txt")
if(NOT EXISTS "${PELMORA_QT_LICENSES}")
    message(STATUS "No installer: this Qt has no ${PELMORA_QT_LICENSES} (tools/windows/build-qt)")
    return()
endif()
find_program(PELMORA_MAKENSIS makensis REQUIRED)

set(PELMORA_WINDOWS_STAGE ${PROJECT_BINARY_DIR}/package/Pelmora)
set(PELMORA_WINDOWS_SETUP ${PROJECT_BINARY_DIR}/pelmora-${PROJECT_VERSION}-x64-setup.exe)
set(PELMORA_WINDOWS_ZIP ${PROJECT_BINARY_DIR}/pelmora-${PROJECT_VERSION}-x64.zip)
set(PELMORA_WINDOWS_RELINK_KIT ${PROJECT_BINARY_DIR}/pelmora-${PROJECT_VERSION}-x64-relink-kit.zip)
set(PELMORA_WINDOWS_QT_SOURCE ${PROJECT_BINARY_DIR}/pelmora-${PROJECT_VERSION}-qt-source.tar)

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

# NOTICE.txt, written the same way, names Qt's Debian version and the components that Qt's
# licence file lists, each with its licence: that file's blocks start with a line of dashes,
# then the name, perhaps the home page, then "Licence: ...". FreeType's licence asks for a
# credit line wherever its code is used; Qt's painter has its anti-aliasing rasterizer from
# FreeType even when Qt is built without the FreeType font engine.
string(REGEX MATCH "^Qt ([^ ]+)" _ "${qt_licenses}")
set(PELMORA_QT_DEBIAN_VERSION ${CMAKE_MATCH_1})
set(PELMORA_QT_COMPONENT_LIST "")
set(PELMORA_FREETYPE_CREDIT_BG "")
set(PELMORA_FREETYPE_CREDIT_EN "")
string(REGEX MATCHALL "\n----------+\n[^\n]+\n(http[^\n]*\n)?Licence: [^\n]+" components
       "${qt_licenses}")
foreach(component IN LISTS components)
    string(REGEX MATCH "-\n([^\n]+)\n.*Licence: ([^\n]+)" _ "${component}")
    string(APPEND PELMORA_QT_COMPONENT_LIST "- ${CMAKE_MATCH_1}: ${CMAKE_MATCH_2}\n")
    if(CMAKE_MATCH_1 MATCHES "FreeType")
        set(PELMORA_FREETYPE_CREDIT_BG "
Части от този софтуер са copyright © 2000-2016 The FreeType Project (www.freetype.org).
Всички права запазени. (Растеризаторът, с който Qt рисува заглаждани фигури, идва от
FreeType 2.)
")
        set(PELMORA_FREETYPE_CREDIT_EN "
Portions of this software are copyright © 2000-2016 The FreeType Project (www.freetype.org).
All rights reserved. (The rasterizer with which Qt draws anti-aliased shapes comes from
FreeType 2.)
")
    endif()
endforeach()
if(PELMORA_QT_COMPONENT_LIST STREQUAL "")
    message(FATAL_ERROR "No components found in ${PELMORA_QT_LICENSES}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/NOTICE.txt.in ${PROJECT_BINARY_DIR}/generated/NOTICE.txt.in
               @ONLY)
file(READ ${PROJECT_BINARY_DIR}/generated/NOTICE.txt.in notice_text)
string(REGEX REPLACE "\r?\n" "\r\n" notice_text "${byte_order_mark}${notice_text}")
set(PELMORA_WINDOWS_NOTICE ${PROJECT_BINARY_DIR}/generated/NOTICE.txt)
file(WRITE ${PELMORA_WINDOWS_NOTICE}.new "${notice_text}")
file(COPY_FILE ${PELMORA_WINDOWS_NOTICE}.new ${PELMORA_WINDOWS_NOTICE} ONLY_IF_DIFFERENT)
file(REMOVE ${PELMORA_WINDOWS_NOTICE}.new)

# What the installers put in the program's folder, beside the uninstaller: the one list that the
# installer's File and Delete lines and the installer's test are made from.
set(PELMORA_WINDOWS_FILES Pelmora.exe LICENSE.txt NOTICE.txt)
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
    COMMAND ${CMAKE_COMMAND} -E copy ${PELMORA_WINDOWS_LICENSE} ${PELMORA_WINDOWS_NOTICE}
            ${PELMORA_WINDOWS_STAGE}/
    COMMAND ${PELMORA_MAKENSIS} -V2 -INPUTCHARSET UTF8 ${PROJECT_BINARY_DIR}/generated/pelmora.nsi
    ${sign_setup}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${PELMORA_WINDOWS_ZIP} --format=zip Pelmora
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/package
    DEPENDS pelmora ${PELMORA_WINDOWS_LICENSE} ${PELMORA_WINDOWS_NOTICE}
            ${PROJECT_BINARY_DIR}/generated/pelmora.nsi
    COMMENT "Making the Windows installer and the portable zip"
    VERBATIM)

# The relink kit, from the link of Pelmora.exe as Ninja runs it (RelinkKit.cmake).
add_custom_command(
    OUTPUT ${PELMORA_WINDOWS_RELINK_KIT}
    COMMAND ${CMAKE_COMMAND} -D BUILD_DIR=${PROJECT_BINARY_DIR} -D NINJA=${CMAKE_MAKE_PROGRAM}
            -D QT_PREFIX=${QT6_INSTALL_PREFIX} -D KIT=${PELMORA_WINDOWS_RELINK_KIT}
            -D TEMPLATES=${CMAKE_CURRENT_LIST_DIR} -D VERSION=${PROJECT_VERSION}
            -D QT_DEBIAN_VERSION=${PELMORA_QT_DEBIAN_VERSION}
            -P ${CMAKE_CURRENT_LIST_DIR}/RelinkKit.cmake
    DEPENDS pelmora ${CMAKE_CURRENT_LIST_DIR}/RelinkKit.cmake ${CMAKE_CURRENT_LIST_DIR}/relink.sh
            ${CMAKE_CURRENT_LIST_DIR}/relink-kit-README.txt.in
    COMMENT "Making the relink kit"
    VERBATIM)

# The source of Qt for Windows: Debian's source package at the version that build-qt built
# (downloaded once into the build folder, where apt checks it), and the scripts and toolchain
# file that built it, in their places in this checkout, so that tools/windows/build-qt --from .
# builds it again there.
set(qt_source_name pelmora-${PROJECT_VERSION}-qt-source)
set(qt_source_folder ${PROJECT_BINARY_DIR}/qt-source/${qt_source_name})
set(qt_source_scripts
    tools/windows/build-qt tools/windows/collect-qt-licenses cmake/windows/mingw-w64.cmake)
list(TRANSFORM qt_source_scripts PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE qt_source_inputs)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/qt-source)
configure_file(${CMAKE_CURRENT_LIST_DIR}/qt-source-README.txt.in
               ${PROJECT_BINARY_DIR}/generated/qt-source-README.txt @ONLY)
add_custom_command(
    OUTPUT ${PELMORA_WINDOWS_QT_SOURCE}
    COMMAND ${PROJECT_SOURCE_DIR}/tools/windows/build-qt --source ${PROJECT_BINARY_DIR}/qt-source/debian
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${qt_source_folder}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${qt_source_folder}/tools/windows
            ${qt_source_folder}/cmake/windows
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/tools/windows/build-qt
            ${PROJECT_SOURCE_DIR}/tools/windows/collect-qt-licenses ${qt_source_folder}/tools/windows/
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/cmake/windows/mingw-w64.cmake
            ${qt_source_folder}/cmake/windows/
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_BINARY_DIR}/generated/qt-source-README.txt
            ${qt_source_folder}/README.txt
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_BINARY_DIR}/qt-source/debian
            ${qt_source_folder}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${PELMORA_WINDOWS_QT_SOURCE} ${qt_source_name}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/qt-source
    DEPENDS ${qt_source_inputs} ${PROJECT_BINARY_DIR}/generated/qt-source-README.txt
    COMMENT "Getting the source of Qt for Windows"
    VERBATIM)

add_custom_target(windows_package DEPENDS ${PELMORA_WINDOWS_SETUP} ${PELMORA_WINDOWS_ZIP}
                                          ${PELMORA_WINDOWS_RELINK_KIT} ${PELMORA_WINDOWS_QT_SOURCE})
# The MSI, and the winget manifests of both installers.
include(${CMAKE_CURRENT_LIST_DIR}/Msi.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/Winget.cmake)

# For the installer's test: an installer of an earlier version, 0.9.0, from the same template and
# the same staged files, to install the current one over.
if(BUILD_TESTING)
    set(PELMORA_WINDOWS_PREVIOUS_VERSION 0.9.0)
    set(PELMORA_WINDOWS_PREVIOUS_SETUP
        ${PROJECT_BINARY_DIR}/tests/pelmora-${PELMORA_WINDOWS_PREVIOUS_VERSION}-x64-setup.exe)
    block()
        set(PROJECT_VERSION ${PELMORA_WINDOWS_PREVIOUS_VERSION})
        set(PELMORA_VERSION_TEXT ${PELMORA_WINDOWS_PREVIOUS_VERSION})
        set(PELMORA_WINDOWS_SETUP ${PELMORA_WINDOWS_PREVIOUS_SETUP})
        configure_file(${CMAKE_CURRENT_LIST_DIR}/pelmora.nsi.in
                       ${PROJECT_BINARY_DIR}/generated/pelmora-previous.nsi @ONLY)
    endblock()
    add_custom_command(
        OUTPUT ${PELMORA_WINDOWS_PREVIOUS_SETUP}
        COMMAND ${PELMORA_MAKENSIS} -V2 -INPUTCHARSET UTF8
                ${PROJECT_BINARY_DIR}/generated/pelmora-previous.nsi
        DEPENDS ${PELMORA_WINDOWS_SETUP} ${PROJECT_BINARY_DIR}/generated/pelmora-previous.nsi
        COMMENT "Making an installer of Pelmora ${PELMORA_WINDOWS_PREVIOUS_VERSION} for the tests"
        VERBATIM)
    add_custom_target(windows_installer_previous ALL DEPENDS ${PELMORA_WINDOWS_PREVIOUS_SETUP})
endif()
