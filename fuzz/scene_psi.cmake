quoll_fuzz_target(scene_psi SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/scene_psi.cpp ${QUOLL_ROOT}/tools/psitool/PsiText.cpp
                  LIBS game_scene RUNS 3000)
