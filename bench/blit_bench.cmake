# Memory-image blits against pixman (benchmark-only dependency) on 1024 x 768 images.
find_package(PkgConfig REQUIRED)
pkg_check_modules(PIXMAN REQUIRED IMPORTED_TARGET pixman-1)
quoll_benchmark(blit_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/blit_bench.cpp
                LIBS quoll_display quoll_rasteriser PkgConfig::PIXMAN)
