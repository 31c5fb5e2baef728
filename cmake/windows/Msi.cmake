# The MSI pelmora-<version>-x64.msi, for the deployment tools of schools and companies (Group
# Policy, Intune, Configuration Manager, winget), part of the target windows_package. msitools'
# wixl builds it from pelmora.wxs.in, with the files that the installer's command staged in
# PELMORA_WINDOWS_STAGE, so that both installers install the same PELMORA_WINDOWS_FILES.
find_program(PELMORA_WIXL wixl REQUIRED)

# What every version's MSI has in common, and by which Windows Installer finds an installed
# older version to replace. Made once for Pelmora; never change it, or a newer MSI installs
# beside an older one instead of in its place.
set(PELMORA_MSI_UPGRADE_CODE 2B9E6290-ED34-4868-966D-3B272677CBB5)

# The codes below are UUIDs made from a name in the upgrade code's namespace: the same every
# time they are made, and different for each name.
function(pelmora_msi_guid var name)
    string(UUID guid NAMESPACE ${PELMORA_MSI_UPGRADE_CODE} NAME "${name}" TYPE SHA1 UPPER)
    set(${var} ${guid} PARENT_SCOPE)
endfunction()

# pelmora_msi_product_code(<var> <version>): the ProductCode of a version's MSI, new for each
# version as a major upgrade needs, and known before the MSI is made (the winget manifest and
# the README name it).
function(pelmora_msi_product_code var version)
    pelmora_msi_guid(code "ProductCode ${version}")
    set(${var} "{${code}}" PARENT_SCOPE)
endfunction()

# One component for each file of the program's folder, with the file as its key path. Its code
# is made from the file's name, so that it stays the same from version to version.
set(PELMORA_WIX_FILE_COMPONENTS "")
set(PELMORA_WIX_COMPONENT_REFS "")
foreach(file IN LISTS PELMORA_WINDOWS_FILES)
    if(file MATCHES "[/\\]")
        message(FATAL_ERROR "The MSI puts files in the program's folder only, not ${file}")
    endif()
    string(MAKE_C_IDENTIFIER "${file}" id)
    pelmora_msi_guid(guid "Component ${file}")
    string(APPEND PELMORA_WIX_FILE_COMPONENTS
        "          <Component Id=\"${id}\" Guid=\"${guid}\">\n"
        "            <File Id=\"${id}\" Name=\"${file}\" "
        "Source=\"${PELMORA_WINDOWS_STAGE}/${file}\" KeyPath=\"yes\"/>\n"
        "          </Component>\n")
    string(APPEND PELMORA_WIX_COMPONENT_REFS "      <ComponentRef Id=\"${id}\"/>\n")
endforeach()
pelmora_msi_guid(PELMORA_WIX_START_MENU_GUID "Component Start menu")

set(PELMORA_WXS ${PROJECT_BINARY_DIR}/generated/pelmora.wxs)
configure_file(${CMAKE_CURRENT_LIST_DIR}/pelmora.wxs.in ${PELMORA_WXS} @ONLY)

# pelmora_add_msi(<msi> <version>): the command that makes <msi>, the MSI of <version>, from the
# staged files (and signs it when PELMORA_SIGN_COMMAND is set).
function(pelmora_add_msi msi version)
    pelmora_msi_product_code(product_code ${version})
    pelmora_sign_step(sign ${msi})
    add_custom_command(
        OUTPUT ${msi}
        COMMAND ${PELMORA_WIXL} --arch x64 -D Version=${version} -D ProductCode=${product_code}
                -o ${msi} ${PELMORA_WXS}
        ${sign}
        DEPENDS ${PELMORA_WINDOWS_SETUP} ${PELMORA_WXS} ${PELMORA_ICON_FILE}
        COMMENT "Making the MSI of Pelmora ${version}"
        VERBATIM)
endfunction()

set(PELMORA_WINDOWS_MSI ${PROJECT_BINARY_DIR}/pelmora-${PROJECT_VERSION}-x64.msi)
pelmora_msi_product_code(PELMORA_MSI_PRODUCT_CODE ${PROJECT_VERSION})
pelmora_add_msi(${PELMORA_WINDOWS_MSI} ${PROJECT_VERSION})
target_sources(windows_package PRIVATE ${PELMORA_WINDOWS_MSI})

# For the test of upgrading: the same files as an MSI of an older version, made from the same
# template. It is the tests', not for shipping, so it is made beside them.
if(BUILD_TESTING)
    set(PELMORA_MSI_OLDER_VERSION 0.9.0)
    set(PELMORA_WINDOWS_MSI_OLDER
        ${PROJECT_BINARY_DIR}/tests/install/pelmora-${PELMORA_MSI_OLDER_VERSION}-x64.msi)
    pelmora_msi_product_code(PELMORA_MSI_OLDER_PRODUCT_CODE ${PELMORA_MSI_OLDER_VERSION})
    pelmora_add_msi(${PELMORA_WINDOWS_MSI_OLDER} ${PELMORA_MSI_OLDER_VERSION})
    add_custom_target(windows_msi_older ALL DEPENDS ${PELMORA_WINDOWS_MSI_OLDER})
    add_dependencies(windows_msi_older windows_package)
endif()
