quoll_fuzz_target(sound_wav SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/sound_wav.cpp LIBS quoll_sound)
