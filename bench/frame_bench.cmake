# Whole frames through the drawing context onto the display's screen image and presented.
quoll_benchmark(frame_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/frame_bench.cpp
                LIBS quoll_display quoll_rasteriser)
