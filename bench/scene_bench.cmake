# A game frame's background and particles on the default 3D path, beside frame_bench's mesh row.
quoll_benchmark(scene_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/scene_bench.cpp LIBS game_scene)
