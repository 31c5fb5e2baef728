# Makes the relink kit pelmora-<version>-x64-relink-kit.zip, with which a user relinks
# Pelmora.exe against a Qt of their own, as Qt's licence (the LGPL 3) lets them: everything of
# Pelmora's own that goes into Pelmora.exe (its object files, its static libraries, its compiled
# Windows resource), the link command that made Pelmora.exe, and relink.sh, which runs that
# command again. The command is the one Ninja runs for the target pelmora in this build,
# rewritten so that the Qt folder is the variable $QT and the compiler $CXX; every other input
# that lies in the build folder is copied into the kit at the same relative path. Run at build
# time, after Pelmora.exe is linked:
#   cmake -D BUILD_DIR=... -D NINJA=... -D QT_PREFIX=... -D KIT=...zip -D TEMPLATES=...
#         -D VERSION=... -D QT_DEBIAN_VERSION=... -P RelinkKit.cmake
cmake_minimum_required(VERSION 3.25)

get_filename_component(kit_name ${KIT} NAME_WLE)
get_filename_component(kit_parent ${KIT} DIRECTORY)
set(kit_work ${kit_parent}/relink-kit)
set(kit ${kit_work}/${kit_name})
file(REMOVE_RECURSE ${kit_work})
file(MAKE_DIRECTORY ${kit}/build)

# Ninja's command for the link: the last step for the target, a chain of commands joined by
# "&&" of which the compiler driver that writes Pelmora.exe is the one to keep.
execute_process(COMMAND ${NINJA} -C ${BUILD_DIR} -t commands pelmora
    OUTPUT_VARIABLE commands COMMAND_ERROR_IS_FATAL ANY)
string(STRIP "${commands}" commands)
string(REGEX REPLACE "^.*\n" "" last "${commands}")
string(REPLACE " && " ";" steps "${last}")
set(link "")
foreach(step IN LISTS steps)
    if(step MATCHES " -o Pelmora\\.exe ")
        set(link "${step}")
    endif()
endforeach()
if(link STREQUAL "")
    message(FATAL_ERROR "No link of Pelmora.exe in Ninja's commands:\n${last}")
endif()
separate_arguments(arguments UNIX_COMMAND "${link}")

# One argument a line, as a bash array: "$QT/..." and "$CXX" expand when relink.sh runs it.
list(POP_FRONT arguments compiler)
get_filename_component(compiler ${compiler} NAME)
set(lines "    \"$CXX\"\n")
set(copied 0)
set(previous "")
foreach(argument IN LISTS arguments)
    set(output_file FALSE)
    if(previous STREQUAL "-o")
        set(output_file TRUE)
    endif()
    set(previous "${argument}")
    string(FIND "${argument}" "${QT_PREFIX}/" at)
    if(at EQUAL 0)
        string(REPLACE "${QT_PREFIX}/" "$QT/" argument "${argument}")
        string(APPEND lines "    \"${argument}\"\n")
        continue()
    endif()
    if(NOT output_file AND NOT IS_ABSOLUTE "${argument}" AND NOT argument MATCHES "^-"
       AND EXISTS ${BUILD_DIR}/${argument}
       AND NOT IS_DIRECTORY ${BUILD_DIR}/${argument})
        get_filename_component(folder ${kit}/build/${argument} DIRECTORY)
        file(COPY ${BUILD_DIR}/${argument} DESTINATION ${folder})
        math(EXPR copied "${copied} + 1")
    elseif(IS_ABSOLUTE "${argument}")
        message(FATAL_ERROR "The link reads ${argument}, which is neither Qt's nor the build's")
    endif()
    string(APPEND lines "    '${argument}'\n")
endforeach()
if(copied EQUAL 0)
    message(FATAL_ERROR "The link of Pelmora.exe reads no file of the build:\n${link}")
endif()

file(WRITE ${kit}/link-command.sh "# The command that linked Pelmora.exe ${VERSION}, one argument a line, run in the folder
# build/ with QT set to the Qt folder and CXX to the compiler driver (${compiler}).
# Made from the build's own link command; relink.sh runs it.
link_command=(
${lines})
")
file(COPY ${TEMPLATES}/relink.sh DESTINATION ${kit})
configure_file(${TEMPLATES}/relink-kit-README.txt.in ${kit}/README.txt @ONLY)

execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${KIT} --format=zip ${kit_name}
    WORKING_DIRECTORY ${kit_work} COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Relink kit: ${copied} files of Pelmora's own and the link command in ${KIT}")
