# Unpacks the FMU and fails when a packed library holds a debug section or
# one of the forbidden paths (the source and build folders).
#
# cmake -DFMU=<file.fmu> -DREADELF=<readelf> -DWORK_DIR=<scratch folder>
#       -DFORBIDDEN=<path;path> -P CheckPackedLibraries.cmake

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${FMU} WORKING_DIRECTORY ${WORK_DIR}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot unpack ${FMU}")
endif()

file(GLOB_RECURSE libraries ${WORK_DIR}/*.so)
list(LENGTH libraries count)
if(count LESS 2)
    message(FATAL_ERROR "expected the runtime and the vECU in ${FMU}, found: ${libraries}")
endif()

set(problems "")
foreach(library ${libraries})
    execute_process(COMMAND ${READELF} -SW ${library} OUTPUT_VARIABLE sections RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        string(APPEND problems "${library}: readelf failed\n")
    elseif(sections MATCHES "\\.debug_[a-z_]+")
        string(APPEND problems "${library}: holds the section ${CMAKE_MATCH_0}\n")
    endif()
    foreach(path ${FORBIDDEN})
        file(STRINGS ${library} found REGEX "${path}/" LIMIT_COUNT 1)
        if(found)
            string(APPEND problems "${library}: names ${path}: ${found}\n")
        endif()
    endforeach()
endforeach()
if(problems)
    message(FATAL_ERROR "${problems}")
endif()
message(STATUS "${count} packed libraries are clean")
