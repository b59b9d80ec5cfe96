# Fixtures of the variable-access tests: a vECU with typed variables and a
# stand-in symbol library (complete, and one without GetVirlo).
add_library(registration_fixture_vecu MODULE ${CMAKE_CURRENT_SOURCE_DIR}/VariableFixture.c)
set_target_properties(registration_fixture_vecu PROPERTIES PREFIX "")

foreach(stub registration_stub_virlo registration_stub_virlo_partial)
    add_library(${stub} MODULE ${CMAKE_CURRENT_SOURCE_DIR}/StubVirlo.cpp)
    set_target_properties(${stub} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden)
    target_include_directories(${stub} PRIVATE ${AMBREL_INCLUDE_DIR})
endforeach()
target_compile_definitions(registration_stub_virlo_partial PRIVATE STUB_VIRLO_WITHOUT_GET)

target_compile_definitions(ambrel_tests PRIVATE
    REGISTRATION_FIXTURE_VECU="$<TARGET_FILE:registration_fixture_vecu>"
    REGISTRATION_STUB_VIRLO="$<TARGET_FILE:registration_stub_virlo>"
    REGISTRATION_STUB_VIRLO_PARTIAL="$<TARGET_FILE:registration_stub_virlo_partial>")
add_dependencies(ambrel_tests registration_fixture_vecu registration_stub_virlo registration_stub_virlo_partial)
