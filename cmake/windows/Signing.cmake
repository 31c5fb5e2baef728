# Code signing, off unless asked for. PELMORA_SIGN_COMMAND, a CMake variable or else an
# environment variable of the configure, is a command that signs one Windows file in place, the
# file's path added as its last argument: for instance
#   signtool sign /fd SHA256 /tr http://timestamp.example /td SHA256 /f pelmora.pfx /p PASSWORD
# or a script of one's own around osslsigncode, which writes the signed file elsewhere. When it
# is set, windows_package runs it on Pelmora.exe before packing it and on each installer once
# it is made, before the winget manifests take their hashes. Without it nothing is signed.
if(NOT DEFINED PELMORA_SIGN_COMMAND)
    set(PELMORA_SIGN_COMMAND "$ENV{PELMORA_SIGN_COMMAND}")
endif()
separate_arguments(PELMORA_SIGN_ARGUMENTS NATIVE_COMMAND "${PELMORA_SIGN_COMMAND}")
if(PELMORA_SIGN_ARGUMENTS)
    message(STATUS "Signing Pelmora's Windows files with: ${PELMORA_SIGN_COMMAND}")
endif()

# pelmora_sign_step(<var> <file>): in <var>, the arguments of add_custom_command that sign
# <file> (COMMAND and the command), or nothing when there is no signing command.
function(pelmora_sign_step var file)
    if(PELMORA_SIGN_ARGUMENTS)
        set(${var} COMMAND ${PELMORA_SIGN_ARGUMENTS} ${file} PARENT_SCOPE)
    else()
        set(${var} "" PARENT_SCOPE)
    endif()
endfunction()
