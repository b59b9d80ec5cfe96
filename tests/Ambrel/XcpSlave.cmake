# The XCP slave tests load the stand-in slave of tests/support.
target_compile_definitions(ambrel_tests PRIVATE
    STANDIN_PELLAN="$<TARGET_FILE:standin_pellan>"
    STANDIN_PELLAN_WITHOUT_STEP="$<TARGET_FILE:standin_pellan_without_step>")
add_dependencies(ambrel_tests standin_pellan standin_pellan_without_step)
