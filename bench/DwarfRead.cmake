# One CacheVirlo of a .die dump of more than 100 MB, in MB/s. The dump comes
# from a generated vECU source with many globals and structures; it is made
# on the first run (compiling and dumping take seconds) and kept beside the
# program, so building the tree stays fast.
if(TARGET Virlo)
    add_executable(bench_dwarf_read ${CMAKE_CURRENT_LIST_DIR}/DwarfRead.cpp)
    target_include_directories(bench_dwarf_read PRIVATE ${AMBREL_INCLUDE_DIR})
    target_link_libraries(bench_dwarf_read PRIVATE platform benchmark::benchmark)
    add_dependencies(bench_dwarf_read Virlo)
    target_compile_definitions(bench_dwarf_read PRIVATE
        VIRLO_LIBRARY="$<TARGET_FILE:Virlo>"
        DWARF_BENCH_DIR="${CMAKE_CURRENT_BINARY_DIR}/dwarf_read"
        DWARF_BENCH_CC="${CMAKE_C_COMPILER}"
        DWARF_BENCH_NM="${CMAKE_NM}"
        DWARF_BENCH_OBJDUMP="${CMAKE_OBJDUMP}")
endif()
