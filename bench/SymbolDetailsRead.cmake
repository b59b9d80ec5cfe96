# One CacheVirlo over a RawSymbolDetails.txt of 1,000,000 rows, through the
# built Virlo.so as its callers use it: rows read per second.
if(TARGET Virlo)
    add_executable(SymbolDetailsRead ${CMAKE_CURRENT_LIST_DIR}/SymbolDetailsRead.cpp)
    target_include_directories(SymbolDetailsRead PRIVATE ${AMBREL_INCLUDE_DIR})
    target_link_libraries(SymbolDetailsRead PRIVATE platform benchmark::benchmark)
    add_dependencies(SymbolDetailsRead Virlo)
    target_compile_definitions(SymbolDetailsRead PRIVATE VIRLO_LIBRARY="$<TARGET_FILE:Virlo>")
endif()
