quoll_benchmark(mix_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mix_bench.cpp LIBS quoll_platform_audio)
