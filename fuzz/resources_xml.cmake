quoll_fuzz_target(resources_xml SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/resources_xml.cpp LIBS quoll_resources RUNS 5000)
