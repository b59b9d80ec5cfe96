# The task scheduler's cost per task activation.
add_executable(bench_task_scheduler ${CMAKE_CURRENT_LIST_DIR}/TaskScheduler.cpp)
target_link_libraries(bench_task_scheduler PRIVATE AmbrelCore benchmark::benchmark)
