# Fixture vECUs for the .die reader: a C and a C++ library built with the
# compilers at hand and dumped the way a .die file is made (the demangled
# symbol list, then the DWARF dump), in DWARF 5, DWARF 4 and strict DWARF 2.
# A layout program built from the same sources prints where the compiler
# put every member, element and bit field.

set(dwarf_source_dir ${CMAKE_CURRENT_SOURCE_DIR}/dwarf)
set(dwarf_fixture_dir ${CMAKE_CURRENT_BINARY_DIR}/dwarf)
file(MAKE_DIRECTORY ${dwarf_fixture_dir})

set(dwarf_headers
    ${dwarf_source_dir}/ecu_c.h ${dwarf_source_dir}/ecu_c_opaque.h ${dwarf_source_dir}/ecu_cpp.h)
set(dwarf_c_sources ${dwarf_source_dir}/ecu_c.c ${dwarf_source_dir}/ecu_c_part2.c)
set(dwarf_cpp_sources ${dwarf_source_dir}/ecu_cpp.cpp)

set(dwarf_flags_v5 -gdwarf-5)
set(dwarf_flags_v4 -gdwarf-4)
set(dwarf_flags_v2 -gdwarf-2 -gstrict-dwarf)

set(dwarf_fixture_outputs)
foreach(variant v5 v4 v2)
    foreach(language c cpp)
        if(language STREQUAL "c")
            set(compiler ${CMAKE_C_COMPILER})
            set(sources ${dwarf_c_sources})
        else()
            set(compiler ${CMAKE_CXX_COMPILER})
            set(sources ${dwarf_cpp_sources})
        endif()
        set(library ${dwarf_fixture_dir}/dwarf_${language}_${variant}.so)
        set(die ${dwarf_fixture_dir}/dwarf_${language}_${variant}.die)
        add_custom_command(
            OUTPUT ${library} ${die}
            COMMAND ${compiler} -g ${dwarf_flags_${variant}} -O0 -fPIC -shared
                    -I${dwarf_source_dir} -o ${library} ${sources}
            COMMAND sh -c "'${CMAKE_NM}' -C '${library}' > '${die}' && '${CMAKE_OBJDUMP}' --dwarf=info '${library}' >> '${die}'"
            DEPENDS ${sources} ${dwarf_headers}
            COMMENT "DWARF fixture dwarf_${language}_${variant}"
            VERBATIM)
        list(APPEND dwarf_fixture_outputs ${library} ${die})
    endforeach()
endforeach()

# Arrays nested 16 deep through typedefs. clang describes each level as an
# array of the level below; gcc folds them into one array of 16 dimensions.
find_program(DWARF_FIXTURE_CLANG NAMES clang-14 clang REQUIRED)
set(nested_library ${dwarf_fixture_dir}/nested_arrays.so)
set(nested_die ${dwarf_fixture_dir}/nested_arrays.die)
add_custom_command(
    OUTPUT ${nested_library} ${nested_die}
    COMMAND ${DWARF_FIXTURE_CLANG} -g -O0 -fPIC -shared -o ${nested_library}
            ${dwarf_source_dir}/nested_arrays.c
    COMMAND sh -c "'${CMAKE_NM}' -C '${nested_library}' > '${nested_die}' && '${CMAKE_OBJDUMP}' --dwarf=info '${nested_library}' >> '${nested_die}'"
    DEPENDS ${dwarf_source_dir}/nested_arrays.c
    COMMENT "DWARF fixture nested_arrays"
    VERBATIM)
list(APPEND dwarf_fixture_outputs ${nested_library} ${nested_die})

# Structures nested 20 deep, two of the one before in each: more records
# than the reader stores for one file.
set(nested_structures_library ${dwarf_fixture_dir}/nested_structures.so)
set(nested_structures_die ${dwarf_fixture_dir}/nested_structures.die)
add_custom_command(
    OUTPUT ${nested_structures_library} ${nested_structures_die}
    COMMAND ${CMAKE_C_COMPILER} -g -O0 -fPIC -shared -o ${nested_structures_library}
            ${dwarf_source_dir}/nested_structures.c
    COMMAND sh -c "'${CMAKE_NM}' -C '${nested_structures_library}' > '${nested_structures_die}' && '${CMAKE_OBJDUMP}' --dwarf=info '${nested_structures_library}' >> '${nested_structures_die}'"
    DEPENDS ${dwarf_source_dir}/nested_structures.c
    COMMENT "DWARF fixture nested_structures"
    VERBATIM)
list(APPEND dwarf_fixture_outputs ${nested_structures_library} ${nested_structures_die})

add_executable(dwarf_layout ${dwarf_source_dir}/layout.cpp ${dwarf_c_sources} ${dwarf_cpp_sources})
target_include_directories(dwarf_layout PRIVATE ${dwarf_source_dir})
add_custom_command(
    OUTPUT ${dwarf_fixture_dir}/layout.txt
    COMMAND dwarf_layout ${dwarf_fixture_dir}/layout.txt
    DEPENDS dwarf_layout
    VERBATIM)
list(APPEND dwarf_fixture_outputs ${dwarf_fixture_dir}/layout.txt)

add_custom_target(dwarf_fixtures DEPENDS ${dwarf_fixture_outputs})
add_dependencies(virlo_tests dwarf_fixtures)
target_include_directories(virlo_tests PRIVATE ${dwarf_source_dir})
target_compile_definitions(virlo_tests PRIVATE
    DWARF_FIXTURE_DIR="${dwarf_fixture_dir}"
    DWARF_LAYOUT_FILE="${dwarf_fixture_dir}/layout.txt")
