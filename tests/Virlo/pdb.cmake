# PDB reader tests: a vECU DLL with its PDB built by clang and lld-link, the
# reference dump of that PDB, our debug-help library, and two stand-ins for
# it (one complete, one without SymSetOptions).
include(${PROJECT_SOURCE_DIR}/tests/dbghelp/PdbFixture.cmake)

set(virlo_pdb_fixture_dir ${CMAKE_CURRENT_BINARY_DIR}/pdb)
add_pdb_fixture(virlo_pdb_fixture DUMP
    OUTPUT_DIR ${virlo_pdb_fixture_dir}
    NAME vecu
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/pdb/Vecu.c
        ${CMAKE_CURRENT_SOURCE_DIR}/pdb/UnitA.c
        ${CMAKE_CURRENT_SOURCE_DIR}/pdb/UnitB.c)

# Arrays past the bound on the records of one file.
add_pdb_fixture(virlo_pdb_large
    OUTPUT_DIR ${virlo_pdb_fixture_dir}
    NAME large
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/pdb/Large.c)

# Nested structures whose member names run past the bound on the names of
# one file.
add_pdb_fixture(virlo_pdb_long_names
    OUTPUT_DIR ${virlo_pdb_fixture_dir}
    NAME long_names
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/pdb/LongNames.c)

# An image without a CodeView debug entry, which any PDB beside it matches:
# the damaged PDBs under tests/fuzz/regressions are read beside it.
set(virlo_plain_image ${virlo_pdb_fixture_dir}/plain.dll)
add_custom_command(OUTPUT ${virlo_plain_image}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${virlo_pdb_fixture_dir}
    COMMAND ${PDB_FIXTURE_CLANG} --target=x86_64-pc-windows-msvc -O0
            -c ${CMAKE_CURRENT_SOURCE_DIR}/pdb/UnitA.c -o ${virlo_pdb_fixture_dir}/plain.obj
    COMMAND ${PDB_FIXTURE_LLD_LINK} /dll /noentry /nodefaultlib
            /out:${virlo_plain_image} ${virlo_pdb_fixture_dir}/plain.obj
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/pdb/UnitA.c
    VERBATIM)
add_custom_target(virlo_plain_image DEPENDS ${virlo_plain_image})

add_library(pdb_stub_dbghelp MODULE ${CMAKE_CURRENT_SOURCE_DIR}/pdb/StubDbghelp.cpp)
add_library(pdb_stub_dbghelp_partial MODULE ${CMAKE_CURRENT_SOURCE_DIR}/pdb/StubDbghelp.cpp)
target_compile_definitions(pdb_stub_dbghelp_partial PRIVATE STUB_WITHOUT_SET_OPTIONS)
foreach(stub pdb_stub_dbghelp pdb_stub_dbghelp_partial)
    target_include_directories(${stub} PRIVATE ${AMBREL_INCLUDE_DIR})
    set_target_properties(${stub} PROPERTIES PREFIX "")
endforeach()

target_sources(virlo_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/dbghelp/PdbUtilDump.cpp)
target_include_directories(virlo_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/dbghelp)
target_compile_definitions(virlo_tests PRIVATE
    VIRLO_PDB_FIXTURE_DIR="${virlo_pdb_fixture_dir}"
    VIRLO_PLAIN_IMAGE="${virlo_plain_image}"
    VIRLO_DBGHELP_LIBRARY="$<TARGET_FILE:dbghelp>"
    VIRLO_STUB_DBGHELP="$<TARGET_FILE:pdb_stub_dbghelp>"
    VIRLO_STUB_DBGHELP_PARTIAL="$<TARGET_FILE:pdb_stub_dbghelp_partial>")
add_dependencies(virlo_tests virlo_pdb_fixture virlo_pdb_large virlo_pdb_long_names virlo_plain_image dbghelp Virlo pdb_stub_dbghelp pdb_stub_dbghelp_partial)
