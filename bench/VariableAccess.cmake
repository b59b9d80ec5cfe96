# fmi2GetReal and fmi2SetReal over 10,000 unscaled doubles, beside a plain
# switch-based getter and setter over the same memory (what a hand-written
# FMU does, the physical limit).
if(TARGET Ambrel AND TARGET Virlo AND TARGET fmu_harness)
    add_library(variable_access_vecu MODULE ${CMAKE_CURRENT_LIST_DIR}/VariableAccessVecu.c)
    set_target_properties(variable_access_vecu PROPERTIES PREFIX "")

    # One case per value reference, as such getters are written.
    set(cases "")
    foreach(vr RANGE 1 10000)
        math(EXPR index "${vr} - 1")
        string(APPEND cases "    case ${vr}: return values + ${index};\n")
    endforeach()
    file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/VariableAccessSwitch.h CONTENT
"// Generated: the address of the variable of each value reference.
static inline double* SwitchVariable(double* values, unsigned vr) {
    switch (vr) {
${cases}    default: return nullptr;
    }
}
" @ONLY)

    add_executable(bench_variable_access ${CMAKE_CURRENT_LIST_DIR}/VariableAccess.cpp)
    target_include_directories(bench_variable_access PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
    target_link_libraries(bench_variable_access PRIVATE fmu_harness platform benchmark::benchmark)
    add_dependencies(bench_variable_access Ambrel Virlo variable_access_vecu)
    target_compile_definitions(bench_variable_access PRIVATE
        AMBREL_LIBRARY="$<TARGET_FILE:Ambrel>"
        VIRLO_LIBRARY="$<TARGET_FILE:Virlo>"
        VARIABLE_ACCESS_VECU="$<TARGET_FILE:variable_access_vecu>")
endif()
