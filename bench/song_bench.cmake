# The heap a playing 3-minute song holds: decoded whole (as songs were) against streamed.
quoll_benchmark(song_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/song_bench.cpp LIBS quoll_sound)
target_compile_definitions(song_bench PRIVATE QUOLL_SOURCE_DIR="${QUOLL_ROOT}")
