# One InitVirlo + CacheVirlo of a PDB with 50,000 globals through the built
# Virlo.so and our dbghelp.so: symbols read per second, beside the time
# llvm-pdbutil takes to dump the globals of the same file. The PDB is built
# with the bench from a generated source.
if(TARGET Virlo AND TARGET dbghelp)
    include(${PROJECT_SOURCE_DIR}/tests/dbghelp/PdbFixture.cmake)
    set(pdb_read_dir ${CMAKE_CURRENT_BINARY_DIR}/pdb_read)
    set(pdb_read_source ${pdb_read_dir}/Globals.c)
    add_custom_command(OUTPUT ${pdb_read_source}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${pdb_read_dir}
        COMMAND /bin/sh -c "seq 0 49999 | sed 's/.*/int signal_&=&;/' > \"$0\"" ${pdb_read_source}
        VERBATIM)
    add_pdb_fixture(pdb_read_fixture OUTPUT_DIR ${pdb_read_dir} NAME globals SOURCES ${pdb_read_source})

    add_executable(bench_pdb_read ${CMAKE_CURRENT_LIST_DIR}/PdbRead.cpp)
    target_include_directories(bench_pdb_read PRIVATE ${AMBREL_INCLUDE_DIR})
    target_link_libraries(bench_pdb_read PRIVATE platform benchmark::benchmark)
    add_dependencies(bench_pdb_read Virlo dbghelp pdb_read_fixture)
    target_compile_definitions(bench_pdb_read PRIVATE
        VIRLO_LIBRARY="$<TARGET_FILE:Virlo>"
        DBGHELP_LIBRARY="$<TARGET_FILE:dbghelp>"
        PDB_READ_IMAGE="${pdb_read_dir}/globals.dll"
        PDB_READ_PDB="${pdb_read_dir}/globals.pdb"
        PDB_READ_PDBUTIL="${PDB_FIXTURE_PDBUTIL}")
endif()
