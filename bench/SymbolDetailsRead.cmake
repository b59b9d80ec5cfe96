# One CacheVirlo over a RawSymbolDetails.txt of 1,000,000 rows, through the
# built Virlo.so as its callers use it: rows read per second.
if(TARGET Virlo)
    add_executable(bench_symbol_details_read ${CMAKE_CURRENT_LIST_DIR}/SymbolDetailsRead.cpp)
    target_include_directories(bench_symbol_details_read PRIVATE ${AMBREL_INCLUDE_DIR})
    target_link_libraries(bench_symbol_details_read PRIVATE platform benchmark::benchmark)
    add_dependencies(bench_symbol_details_read Virlo)
    target_compile_definitions(bench_symbol_details_read PRIVATE VIRLO_LIBRARY="$<TARGET_FILE:Virlo>")
endif()
