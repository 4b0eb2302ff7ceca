quoll_fuzz_target(resources_config SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/resources_config.cpp LIBS quoll_resources RUNS 5000)
