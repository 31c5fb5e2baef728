# `make package`: a Debian package of what `cmake --install` installs, with the manual page
# and the documents that Debian asks of every package (copyright, changelog).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmora)
set(CPACK_PACKAGE_VENDOR "${PELMORA_WEB_ADDRESS}")
set(CPACK_PACKAGE_CONTACT "Pelmora <pelmora@${PELMORA_DOMAIN}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# One line of the package's description per line here, at most 80 characters with the blank
# that the package format puts before each.
set(CPACK_PACKAGE_DESCRIPTION [[
Pelmora converts decimal numbers to the Gray code (the reflected binary code)
and back, in one window in Bulgarian. It shows the number in decimal and in
binary, the binary number shifted right by one place, and the Gray code in
binary and in decimal.

Beside the results it shows a rotary encoder disc with Gray-code tracks and
an explanatory text that ends with a table of the Gray codes of 0 to 59. It
is meant for teaching informatics.]])
set(CPACK_PACKAGE_HOMEPAGE_URL "https://${PELMORA_WEB_ADDRESS}/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# Liberation Serif 2, the window's font: fonts-liberation from Debian 13 on, fonts-liberation2
# before (Debian 12's fonts-liberation is the older 1.07). qt6-translations-l10n: Qt's own texts
# (the context menus of the text fields) in Bulgarian.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), \
fonts-liberation (>= 1:2.1) | fonts-liberation2, qt6-translations-l10n")
# qt6-wayland: Qt's platform for a Wayland session, so that the program starts where there is
# no X server (XWayland) beside the compositor.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_STRIP_FILES ON)

if(UNIX AND NOT APPLE)
    include(GNUInstallDirs)
    # The changelog's date form, "Tue, 08 Dec 2026 00:00:00 +0000".
    execute_process(COMMAND date -u -R -d "${PELMORA_RELEASE_DATE}"
                    OUTPUT_VARIABLE PELMORA_RELEASE_DATE_RFC2822
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

    # pelmora_install_gzipped(<template> <name> <destination>): the template filled in and
    # compressed as Debian wants it (best compression, no name or time stamp in the header).
    function(pelmora_install_gzipped template name destination)
        set(plain ${PROJECT_BINARY_DIR}/generated/docs/${name})
        configure_file(${template} ${plain} @ONLY)
        add_custom_command(OUTPUT ${plain}.gz
            COMMAND gzip -9nkf ${plain}
            DEPENDS ${plain}
            VERBATIM)
        add_custom_target(pelmora_${name}_gz ALL DEPENDS ${plain}.gz)
        install(FILES ${plain}.gz DESTINATION ${destination})
    endfunction()

    pelmora_install_gzipped(${PROJECT_SOURCE_DIR}/app/pelmora.1.in pelmora.1
                            ${CMAKE_INSTALL_MANDIR}/man1)
    # The version has no Debian revision (Pelmora is packaged where it is made), so the
    # package is a native one, whose Debian changelog is changelog.gz.
    pelmora_install_gzipped(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in changelog
                            ${CMAKE_INSTALL_DATAROOTDIR}/doc/pelmora)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in
                   ${PROJECT_BINARY_DIR}/generated/docs/copyright @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/generated/docs/copyright
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/pelmora)
endif()

include(CPack)
