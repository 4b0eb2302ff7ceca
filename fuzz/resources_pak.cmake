quoll_fuzz_target(resources_pak SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/resources_pak.cpp LIBS quoll_resources RUNS 5000)
