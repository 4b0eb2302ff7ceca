# Shared build settings and the helpers every folder uses.

if(CMAKE_CXX_COMPILER_LAUNCHER STREQUAL "")
  unset(CMAKE_CXX_COMPILER_LAUNCHER)
endif()
find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_C_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()

# Warnings on; the ones that point at real faults stop the build.
add_library(quoll_warnings INTERFACE)
target_compile_options(quoll_warnings INTERFACE
  -Wall -Wextra
  -Werror=return-type -Werror=format-security -Werror=delete-non-virtual-dtor
  -Werror=uninitialized -Werror=init-self -Werror=sizeof-pointer-memaccess
  -Werror=pessimizing-move -Werror=dangling-else -Werror=odr -Werror=shift-count-overflow)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(quoll_warnings INTERFACE -Werror=array-bounds=1 -Werror=use-after-free)
else()
  target_compile_options(quoll_warnings INTERFACE -Werror=array-bounds)
endif()
# GCC 12 at -O3 reports overlapping copies inside std::string for `"text" + string`, a false
# positive of the compiler (fixed in GCC 13); an optimised build would otherwise not be quiet.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(quoll_warnings INTERFACE -Wno-restrict)
endif()

# libFuzzer builds: every library is instrumented for coverage, with AddressSanitizer and
# UndefinedBehaviourSanitizer; the fuzz targets link libFuzzer's driver.
if(QUOLL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUOLL_FUZZ needs clang: -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Out-of-range float to integer conversions are not part of GCC's undefined-behaviour set.
if(QUOLL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined,float-cast-overflow
                      -fno-sanitize-recover=undefined,float-cast-overflow -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()

if(QUOLL_SCALAR_FALLBACK)
  add_compile_definitions(QUOLL_SCALAR_FALLBACK)
endif()

set(QUOLL_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# quoll_library(<name> [DEPENDS libs...] [SUBDIRS dirs...] [PRIVATE_DEPENDS libs...])
# A static library from the .cpp files of the calling folder (and of SUBDIRS).
function(quoll_library name)
  cmake_parse_arguments(Q "" "" "DEPENDS;SUBDIRS;PRIVATE_DEPENDS" ${ARGN})
  set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(sub ${Q_SUBDIRS})
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/*.cpp)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${QUOLL_ROOT})
    target_link_libraries(${name} PUBLIC ${Q_DEPENDS} PRIVATE quoll_warnings ${Q_PRIVATE_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${QUOLL_ROOT})
    target_link_libraries(${name} INTERFACE ${Q_DEPENDS})
  endif()
endfunction()

# quoll_backend(<name> DEPENDS libs...)
# A platform back end that registers itself by name when linked: an object library from the
# calling folder's .cpp files, so that its registration is never dropped the way an unreferenced
# member of a static library is. Programs that want the back end link it directly.
function(quoll_backend name)
  cmake_parse_arguments(Q "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} OBJECT ${sources})
  target_include_directories(${name} PUBLIC ${QUOLL_ROOT})
  target_link_libraries(${name} PUBLIC ${Q_DEPENDS} PRIVATE quoll_warnings)
endfunction()

# quoll_test_suite(<area> LIBS libs... [SOURCES extra files...])
# One GoogleTest program from every .cpp of the calling folder, each test labelled <area>.
# tests/TestMain.cpp sets up the environment (headless back ends, folders in the build tree).
function(quoll_test_suite area)
  cmake_parse_arguments(Q "" "" "LIBS;SOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(test_${area} ${sources} ${Q_SOURCES} ${QUOLL_ROOT}/tests/TestMain.cpp)
  target_link_libraries(test_${area} PRIVATE ${Q_LIBS} GTest::gtest quoll_warnings)
  target_include_directories(test_${area} PRIVATE ${QUOLL_ROOT})
  target_compile_definitions(test_${area} PRIVATE
    QUOLL_SOURCE_DIR="${QUOLL_ROOT}" QUOLL_BINARY_DIR="${CMAKE_BINARY_DIR}"
    QUOLL_TEST_HOME="${CMAKE_CURRENT_BINARY_DIR}/home")
  quoll_discover_tests(test_${area} ${area})
endfunction()

# quoll_discover_tests(<target> <label>)
# Registers each GoogleTest case of the program as a CTest test with the label, run in the
# calling folder's build folder. The list is made when the program is built, never while ctest
# runs, so a second ctest on the same build reads a finished list. Every case has a timeout well
# under CI's budget: a hang fails its test instead of the whole run.
function(quoll_discover_tests target label)
  gtest_discover_tests(${target}
    DISCOVERY_MODE POST_BUILD
    DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS ${label} TIMEOUT 600)
endfunction()

# quoll_benchmark(<name> SOURCES files... LIBS libs...)
function(quoll_benchmark name)
  cmake_parse_arguments(Q "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${Q_SOURCES})
  target_link_libraries(${name} PRIVATE ${Q_LIBS} benchmark::benchmark quoll_warnings)
  target_include_directories(${name} PRIVATE ${QUOLL_ROOT})
endfunction()
