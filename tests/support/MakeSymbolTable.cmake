# Writes the rows of a symbol table for a built library: the address and
# size of each symbol as nm reports them, with the type (and bit field) that
# the types file gives, one row per entry of the types file:
#   address;size;type;bit offset;bit length;value;name
# Types file lines: row name, symbol, type name [, bit offset, bit length].
# With HEADER, also writes "#define <PREFIX><row name> "0x<address>"" for
# every row, the text form the configuration uses.
# Run with -DNM= -DLIBRARY= -DTYPES= -DOUTPUT= [-DHEADER= -DPREFIX=].
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

file(STRINGS ${TYPES} types)
set(rows "")
set(defines "// Generated from nm of ${LIBRARY}.\n")
foreach(line IN LISTS types)
    if(line MATCHES "^#" OR line STREQUAL "")
        continue()
    endif()
    string(REPLACE " " ";" fields "${line}")
    list(LENGTH fields count)
    list(GET fields 0 name)
    list(GET fields 1 symbol)
    list(GET fields 2 type)
    set(bit_offset 0)
    set(bit_length 0)
    if(count GREATER 4)
        list(GET fields 3 bit_offset)
        list(GET fields 4 bit_length)
    endif()
    if(NOT DEFINED address_${symbol})
        message(FATAL_ERROR "${symbol} is not defined in ${LIBRARY}")
    endif()
    math(EXPR size "0x${size_${symbol}}")
    math(EXPR address "0x${address_${symbol}}" OUTPUT_FORMAT HEXADECIMAL)
    string(APPEND rows "${address};${size};${type};${bit_offset};${bit_length};0;${name}\n")
    string(APPEND defines "#define ${PREFIX}${name} \"${address}\"\n")
endforeach()
file(WRITE ${OUTPUT} "${rows}")
if(HEADER)
    file(WRITE ${HEADER} "${defines}")
endif()
