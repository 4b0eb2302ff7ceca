quoll_fuzz_target(shell_scores SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/shell_scores.cpp LIBS game_shell RUNS 5000)
