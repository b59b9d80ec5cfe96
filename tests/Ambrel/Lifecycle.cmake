# The runtime's lifecycle tests play the master: they use its logger and a
# temporary resource folder.
target_link_libraries(ambrel_tests PRIVATE fmu_harness)
