# Writes the three winget manifests of one version of Pelmora (version, installer and the
# Bulgarian default locale, manifest schema 1.6.0) with the SHA-256 of the installers as they
# are now. Run by the target windows_package (Winget.cmake), which passes:
#   ID VERSION PUBLISHER YEAR DOWNLOAD_URL SETUP MSI PRODUCT_CODE UPGRADE_CODE OUTPUT
foreach(name ID VERSION PUBLISHER YEAR DOWNLOAD_URL SETUP MSI PRODUCT_CODE UPGRADE_CODE OUTPUT)
    if(NOT DEFINED ${name} OR "${${name}}" STREQUAL "")
        message(FATAL_ERROR "write-winget-manifests.cmake needs ${name}")
    endif()
endforeach()

set(manifest_version 1.6.0)
file(SHA256 ${SETUP} setup_sha256)
file(SHA256 ${MSI} msi_sha256)
string(TOUPPER ${setup_sha256} setup_sha256)
string(TOUPPER ${msi_sha256} msi_sha256)
get_filename_component(setup_name ${SETUP} NAME)
get_filename_component(msi_name ${MSI} NAME)

# The head and the tail that every manifest has.
function(write_manifest file type body)
    file(WRITE ${OUTPUT}/${file}
        "# yaml-language-server: $schema=https://aka.ms/winget-manifest.${type}.${manifest_version}.schema.json\n"
        "\n"
        "PackageIdentifier: ${ID}\n"
        "PackageVersion: ${VERSION}\n"
        "${body}"
        "ManifestType: ${type}\n"
        "ManifestVersion: ${manifest_version}\n")
endfunction()

file(REMOVE_RECURSE ${OUTPUT})
write_manifest(${ID}.yaml version "DefaultLocale: bg-BG\n")

# The installer that NSIS makes installs for all users with /AllUsers; the MSI always does.
# Windows Installer knows the MSI by its ProductCode, and winget an installed Pelmora by it.
write_manifest(${ID}.installer.yaml installer "\
InstallModes:
- interactive
- silent
Installers:
- Architecture: x64
  InstallerType: nullsoft
  Scope: machine
  InstallerUrl: ${DOWNLOAD_URL}${setup_name}
  InstallerSha256: ${setup_sha256}
  InstallerSwitches:
    Custom: /AllUsers
- Architecture: x64
  InstallerType: msi
  Scope: machine
  InstallerUrl: ${DOWNLOAD_URL}${msi_name}
  InstallerSha256: ${msi_sha256}
  ProductCode: '${PRODUCT_CODE}'
  AppsAndFeaturesEntries:
  - DisplayName: Pelmora
    Publisher: ${PUBLISHER}
    ProductCode: '${PRODUCT_CODE}'
    UpgradeCode: '{${UPGRADE_CODE}}'
")

write_manifest(${ID}.locale.bg-BG.yaml defaultLocale "\
PackageLocale: bg-BG
Publisher: ${PUBLISHER}
PublisherUrl: https://${PUBLISHER}/
PackageName: Pelmora
PackageUrl: https://${PUBLISHER}/
License: Собственост на ${PUBLISHER}. Всички права запазени.
Copyright: Copyright ${YEAR} ${PUBLISHER}
ShortDescription: Преобразува десетични числа в код на Грей и обратно
Description: Малка учебна програма по информатика, която показва числото в десетичен и двоичен вид, двоичното число, преместено с една позиция надясно, и кода на Грей в двоичен и десетичен вид.
Tags:
- грей
- двоичен
- информатика
")
