quoll_fuzz_target(scene_mesh_description SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/scene_mesh_description.cpp
                  LIBS game_scene RUNS 3000)
