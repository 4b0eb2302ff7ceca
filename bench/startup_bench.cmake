# The game's start to its first frame, headless, on a data folder.
quoll_benchmark(startup_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/startup_bench.cpp LIBS game_app)
