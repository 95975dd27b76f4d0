# Helpers that give every library and test program of the tree the same shape.

# orvanel_library(NAME [SHARED|OBJECT] DEPENDS lib... [PRIVATE_DEPENDS lib...])
# Builds src/*.cpp of the calling folder into NAME with include/ as its public include directory.
function(orvanel_library name)
  cmake_parse_arguments(ARG "OBJECT" "" "DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  if(ARG_OBJECT)
    add_library(${name} OBJECT ${sources})
  else()
    add_library(${name} SHARED ${sources})
  endif()
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include
                                     PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  if(ARG_DEPENDS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  endif()
  if(ARG_PRIVATE_DEPENDS)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_DEPENDS})
  endif()
endfunction()

# orvanel_tests(NAME DEPENDS lib... [ENVIRONMENT VAR=value...])
# Builds tests/*.cpp of the calling folder into one GoogleTest program registered with CTest
# (nothing while the folder has no tests yet).
function(orvanel_tests name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;ENVIRONMENT" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(NOT sources)
    return()
  endif()
  if(ORVANEL_SANITIZE)
    list(APPEND sources ${PROJECT_SOURCE_DIR}/platform/testing/sanitizer/leak_options.cpp)
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENVIRONMENT}")
endfunction()

# orvanel_benchmark(NAME DEPENDS lib...): bench/NAME.cpp as a Google Benchmark program (not run by CTest).
function(orvanel_benchmark name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
