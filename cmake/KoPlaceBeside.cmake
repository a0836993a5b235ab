# Programs that load the plug-in or the log module find them beside their
# executable, and the plug-in writes its log into "log/" there.
#
#   ko_place_beside(TARGET program [TARGETS lib ...] [LOG_DIRECTORY])
#
# copies the files of the TARGETS into the directory of `program` whenever
# they change and, with LOG_DIRECTORY, creates "log/" there.
function(ko_place_beside)
    cmake_parse_arguments(ARG "LOG_DIRECTORY" "TARGET" "TARGETS" ${ARGN})
    get_target_property(directory ${ARG_TARGET} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT directory)
        set(directory ${CMAKE_CURRENT_BINARY_DIR})
    endif()
    set(commands "")
    foreach(library IN LISTS ARG_TARGETS)
        list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${library}> ${directory}/)
    endforeach()
    if(ARG_LOG_DIRECTORY)
        list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory ${directory}/log)
    endif()
    set(stamp ${directory}/${ARG_TARGET}.beside)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${directory}
        ${commands}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${ARG_TARGETS}
        COMMENT "Placing ${ARG_TARGETS} and log/ beside ${ARG_TARGET}")
    add_custom_target(${ARG_TARGET}Beside DEPENDS ${stamp})
    add_dependencies(${ARG_TARGET} ${ARG_TARGET}Beside)
endfunction()
