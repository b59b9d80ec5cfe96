# From nm of the built fixture vECU, writes the symbol table that the symbol
# library reads (rows "address;size;type;0;0;0;name") and a header that
# gives each symbol's offset as the text form of the configuration
# (#define TASKS_VECU_<name> "0x...").
# Run with -DNM= -DLIBRARY= -DSYMBOLS= -DTABLE= -DHEADER=.
execute_process(COMMAND ${NM} -S --defined-only ${LIBRARY}
                OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()

string(REPLACE "\n" ";" listing "${listing}")
foreach(line IN LISTS listing)
    if(line MATCHES "^([0-9a-fA-F]+) ([0-9a-fA-F]+) [A-Za-z] ([A-Za-z_][A-Za-z0-9_]*)$")
        set(address_${CMAKE_MATCH_3} ${CMAKE_MATCH_1})
        set(size_${CMAKE_MATCH_3} ${CMAKE_MATCH_2})
    endif()
endforeach()

file(STRINGS ${SYMBOLS} symbols)
set(rows "")
set(defines "// Generated from nm of the fixture vECU.\n")
foreach(line IN LISTS symbols)
    if(line MATCHES "^#" OR line STREQUAL "")
        continue()
    endif()
    string(REPLACE " " ";" fields "${line}")
    list(GET fields 0 symbol)
    list(GET fields 1 type)
    if(NOT DEFINED address_${symbol})
        message(FATAL_ERROR "${symbol} is not defined in ${LIBRARY}")
    endif()
    math(EXPR size "0x${size_${symbol}}")
    math(EXPR address "0x${address_${symbol}}" OUTPUT_FORMAT HEXADECIMAL)
    string(APPEND rows "${address};${size};${type};0;0;0;${symbol}\n")
    string(APPEND defines "#define TASKS_VECU_${symbol} \"${address}\"\n")
endforeach()
file(WRITE ${TABLE} "${rows}")
file(WRITE ${HEADER} "${defines}")
