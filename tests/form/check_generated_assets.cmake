# Runs the picture generators into a scratch folder and fails unless every file they write is
# byte for byte the committed one.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND "${DISC_GENERATOR}" "${WORK}" RESULT_VARIABLE disc)
execute_process(COMMAND "${ICON_GENERATOR}" "${WORK}" RESULT_VARIABLE icon)
if(NOT disc EQUAL 0 OR NOT icon EQUAL 0)
    message(FATAL_ERROR "a generator failed (disc: ${disc}, icon: ${icon})")
endif()
foreach(name encoder-disc.jpg encoder-disc@2x.png pelmora.ico pelmora.png pelmora-48.png
             pelmora-64.png pelmora-128.png pelmora-256.png)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/${name}" "${COMMITTED}/${name}"
                    RESULT_VARIABLE different)
    if(different)
        message(FATAL_ERROR "form/images/${name} is not what the generator writes; "
                            "run the generator and commit its output")
    endif()
endforeach()
