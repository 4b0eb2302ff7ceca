quoll_fuzz_target(sound_au SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/sound_au.cpp LIBS quoll_sound)
