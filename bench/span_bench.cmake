# The 3D device's row kernels, one row per kernel and width.
quoll_benchmark(span_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/span_bench.cpp LIBS quoll_platform_video)
