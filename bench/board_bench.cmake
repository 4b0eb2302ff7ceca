quoll_benchmark(board_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/board_bench.cpp LIBS game_board)
