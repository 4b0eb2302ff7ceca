# A busy play screen of the game on its generated data (a boss level mid-game), on the default
# 3D path (one thread and the device's bands) and on the 2D path, beside frame_bench's mesh row.
if(TARGET autoplay_core)
  quoll_benchmark(play_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/play_bench.cpp LIBS autoplay_core)
  add_dependencies(play_bench gamedata)
  target_compile_definitions(play_bench PRIVATE QUOLL_GAME_DIR="${QUOLL_GAME_DIR}" QUOLL_SOURCE_DIR="${QUOLL_ROOT}")
endif()
