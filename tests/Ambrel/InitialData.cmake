# Fixtures of the initial-data tests: the built dataset library, and a
# library that lacks its GetDataset export.
add_library(initialdata_partial_dataset MODULE ${CMAKE_CURRENT_SOURCE_DIR}/InitialDataPartialDataset.c)
set_target_properties(initialdata_partial_dataset PROPERTIES PREFIX "")

target_compile_definitions(ambrel_tests PRIVATE
    INITIAL_DATA_DATASET_LIBRARY="$<TARGET_FILE:Dataset>"
    INITIAL_DATA_PARTIAL_DATASET_LIBRARY="$<TARGET_FILE:initialdata_partial_dataset>")
target_link_libraries(ambrel_tests PRIVATE fmu_harness)
add_dependencies(ambrel_tests Dataset initialdata_partial_dataset)
