# Inputs that made the symbol readers crash, hang or exhaust memory under
# fuzzing; the tests read each one again.
target_compile_definitions(virlo_tests PRIVATE
    FUZZ_REGRESSION_DIR="${PROJECT_SOURCE_DIR}/tests/fuzz/regressions")
