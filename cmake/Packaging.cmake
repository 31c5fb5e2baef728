# `make package`: a Debian package of what `cmake --install` installs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmora)
set(CPACK_PACKAGE_VENDOR "${PELMORA_WEB_ADDRESS}")
set(CPACK_PACKAGE_CONTACT "Pelmora <pelmora@${PELMORA_DOMAIN}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Pelmora converts decimal numbers to the Gray code (the reflected binary code) and back, \
showing the binary forms and the shift between them, with an encoder-disc picture and an \
explanatory text in Bulgarian.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://${PELMORA_WEB_ADDRESS}/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), fonts-liberation2, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
