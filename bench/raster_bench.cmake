# Software triangle drawing against SDL2's software renderer and Mesa's software OpenGL (OSMesa);
# both comparisons are benchmark-only dependencies.
find_package(SDL2 REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(OSMESA REQUIRED IMPORTED_TARGET osmesa)
quoll_benchmark(raster_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/raster_bench.cpp
                LIBS quoll_rasteriser quoll_display SDL2::SDL2 PkgConfig::OSMESA)
