# Fixtures of the SymbolDetails reader and writer tests: a stand-in vECU
# whose variables the writer reads in place, and the built Virlo.so, whose
# exports the tests drive as the library's callers do.
add_library(virlo_value_fixture MODULE ${CMAKE_CURRENT_LIST_DIR}/ValueFixture.c)
set_target_properties(virlo_value_fixture PROPERTIES PREFIX "")
target_compile_options(virlo_value_fixture PRIVATE -g)
add_dependencies(virlo_tests virlo_value_fixture Virlo)
target_compile_definitions(virlo_tests PRIVATE
    VIRLO_VALUE_FIXTURE="$<TARGET_FILE:virlo_value_fixture>"
    VIRLO_LIBRARY="$<TARGET_FILE:Virlo>")
