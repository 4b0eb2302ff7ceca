quoll_fuzz_target(board_section SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/board_section.cpp LIBS game_board)
