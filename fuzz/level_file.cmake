quoll_fuzz_target(level_file SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/level_file.cpp LIBS leveldriver_core RUNS 800)
