quoll_fuzz_target(sound_ogg SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/sound_ogg.cpp LIBS quoll_sound)
