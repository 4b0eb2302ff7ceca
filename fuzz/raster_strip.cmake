quoll_fuzz_target(raster_strip SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/raster_strip.cpp
                  LIBS quoll_rasteriser quoll_display RUNS 20000)
