quoll_benchmark(core_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/core_bench.cpp LIBS quoll_core)
