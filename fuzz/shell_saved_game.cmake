quoll_fuzz_target(shell_saved_game SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/shell_saved_game.cpp LIBS game_shell RUNS 5000)
