add_executable(bench_fmi_step ${CMAKE_CURRENT_LIST_DIR}/FmiStep.cpp)
target_link_libraries(bench_fmi_step PRIVATE fmu_harness benchmark::benchmark)
target_compile_definitions(bench_fmi_step PRIVATE AMBREL_LIBRARY="$<TARGET_FILE:Ambrel>")
add_dependencies(bench_fmi_step Ambrel)
