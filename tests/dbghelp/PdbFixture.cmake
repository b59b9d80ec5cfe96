# Builds Windows images with their PDBs from C and C++ sources, the way a
# vECU is built: clang for the MSVC target with CodeView debug information,
# lld-link for the DLL and its PDB. Used by the tests and benchmarks that
# read PDB files.
include_guard(GLOBAL)

find_program(PDB_FIXTURE_CLANG NAMES clang-14 clang REQUIRED)
find_program(PDB_FIXTURE_LLD_LINK NAMES lld-link-14 lld-link REQUIRED)
find_program(PDB_FIXTURE_PDBUTIL NAMES llvm-pdbutil-14 llvm-pdbutil HINTS /usr/lib/llvm-14/bin REQUIRED)

# add_pdb_fixture(<target> OUTPUT_DIR <dir> NAME <name> SOURCES <files...> [DUMP])
# Makes <dir>/<name>.dll and <dir>/<name>.pdb; with DUMP also
# <dir>/<name>.pdbutil.txt, llvm-pdbutil's text dump of the PDB's globals,
# publics, types and section headers, as an independent reference.
function(add_pdb_fixture target)
    cmake_parse_arguments(PARSE_ARGV 1 FIXTURE "DUMP" "OUTPUT_DIR;NAME" "SOURCES")
    set(prefix ${FIXTURE_OUTPUT_DIR}/${FIXTURE_NAME})
    set(objects)
    # Code with floating point needs the symbol the compiler's runtime would
    # define; there is no runtime here.
    foreach(source ${FIXTURE_SOURCES} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/fixtures/FloatSupport.c)
        get_filename_component(stem ${source} NAME_WE)
        set(object ${prefix}.${stem}.obj)
        set(language_flags)
        if(source MATCHES "\\.cpp$")
            set(language_flags -fno-exceptions -fno-rtti)
        endif()
        add_custom_command(OUTPUT ${object}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${FIXTURE_OUTPUT_DIR}
            COMMAND ${PDB_FIXTURE_CLANG} --target=x86_64-pc-windows-msvc -gcodeview -g -O0
                    ${language_flags} -c ${source} -o ${object}
            DEPENDS ${source}
            VERBATIM)
        list(APPEND objects ${object})
    endforeach()
    add_custom_command(OUTPUT ${prefix}.dll ${prefix}.pdb
        COMMAND ${PDB_FIXTURE_LLD_LINK} /dll /noentry /nodefaultlib /debug
                /out:${prefix}.dll /pdb:${prefix}.pdb ${objects}
        DEPENDS ${objects}
        VERBATIM)
    set(outputs ${prefix}.dll ${prefix}.pdb)
    if(FIXTURE_DUMP)
        add_custom_command(OUTPUT ${prefix}.pdbutil.txt
            COMMAND /bin/sh -c "\"$0\" dump -globals -publics -types -section-headers \"$1\" > \"$2\""
                    ${PDB_FIXTURE_PDBUTIL} ${prefix}.pdb ${prefix}.pdbutil.txt
            DEPENDS ${prefix}.pdb
            VERBATIM)
        list(APPEND outputs ${prefix}.pdbutil.txt)
    endif()
    add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
