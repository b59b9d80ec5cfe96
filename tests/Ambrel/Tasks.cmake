# Fixture of the task tests: a vECU whose task bodies count their runs.
add_library(task_fixture_vecu MODULE ${CMAKE_CURRENT_SOURCE_DIR}/TaskFixture.c)
set_target_properties(task_fixture_vecu PROPERTIES PREFIX "")
target_compile_definitions(ambrel_tests PRIVATE TASK_FIXTURE_VECU="$<TARGET_FILE:task_fixture_vecu>")
add_dependencies(ambrel_tests task_fixture_vecu)
