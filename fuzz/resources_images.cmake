# One fuzz target per image decoder, all built from resources_image.cpp.
foreach(kind png jpeg gif tga j2k)
  quoll_fuzz_target(resources_${kind} SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/resources_image.cpp
                    LIBS quoll_resources RUNS 5000)
endforeach()
target_compile_definitions(fuzz_resources_png PRIVATE QUOLL_FUZZ_DECODER=ReadPngImage)
target_compile_definitions(fuzz_resources_jpeg PRIVATE QUOLL_FUZZ_DECODER=ReadJpegImage)
target_compile_definitions(fuzz_resources_gif PRIVATE QUOLL_FUZZ_DECODER=ReadGifImage)
target_compile_definitions(fuzz_resources_tga PRIVATE QUOLL_FUZZ_DECODER=ReadTgaImage)
target_compile_definitions(fuzz_resources_j2k PRIVATE QUOLL_FUZZ_DECODER=ReadJ2kImage)
