quoll_fuzz_target(shell_profile SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/shell_profile.cpp LIBS game_shell RUNS 5000)
