# fmi2GetReal over 10,000 variables of a vECU, with LINEAR output scalings
# and without: the cost that the conversions add to a master's read.
if(TARGET Ambrel AND TARGET fmu_harness)
    add_library(scaled_access_vecu SHARED ${CMAKE_CURRENT_LIST_DIR}/ScaledAccessVecu.c)
    set_target_properties(scaled_access_vecu PROPERTIES PREFIX "")
    add_executable(bench_scaled_access ${CMAKE_CURRENT_LIST_DIR}/ScaledAccess.cpp)
    target_link_libraries(bench_scaled_access PRIVATE fmu_harness platform benchmark::benchmark)
    add_dependencies(bench_scaled_access Ambrel scaled_access_vecu)
    target_compile_definitions(bench_scaled_access PRIVATE
        AMBREL_LIBRARY="$<TARGET_FILE:Ambrel>"
        SCALED_ACCESS_VECU="$<TARGET_FILE:scaled_access_vecu>")
endif()
