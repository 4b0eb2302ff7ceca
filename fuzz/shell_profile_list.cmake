quoll_fuzz_target(shell_profile_list SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/shell_profile_list.cpp LIBS game_shell RUNS 5000)
