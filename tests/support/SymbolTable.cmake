# add_symbol_table(<target> LIBRARY <library target> TYPES <types file>
#                  OUTPUT <table> [HEADER <header> PREFIX <macro prefix>])
# Makes the symbol table rows of a fixture library at build time from nm
# (see MakeSymbolTable.cmake), as the custom target <target>.
set(SYMBOL_TABLE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/MakeSymbolTable.cmake)

function(add_symbol_table target)
    cmake_parse_arguments(PARSE_ARGV 1 table "" "LIBRARY;TYPES;OUTPUT;HEADER;PREFIX" "")
    set(outputs ${table_OUTPUT})
    set(header_arguments)
    if(table_HEADER)
        list(APPEND outputs ${table_HEADER})
        set(header_arguments -DHEADER=${table_HEADER} -DPREFIX=${table_PREFIX})
    endif()
    add_custom_command(
        OUTPUT ${outputs}
        COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DLIBRARY=$<TARGET_FILE:${table_LIBRARY}>
                -DTYPES=${table_TYPES} -DOUTPUT=${table_OUTPUT} ${header_arguments}
                -P ${SYMBOL_TABLE_SCRIPT}
        DEPENDS ${table_LIBRARY} ${table_TYPES} ${SYMBOL_TABLE_SCRIPT}
        VERBATIM)
    add_custom_target(${target} DEPENDS ${outputs})
endfunction()
