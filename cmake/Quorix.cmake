# quorix_layer(NAME DEPS...): one static library per layer, made of every
# .cpp of its folder, linking only the layers below it.
function(quorix_layer name)
  cmake_parse_arguments(L "" "" "DEPS" ${ARGN})
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB _hdrs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${_srcs} ${_hdrs})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_DEPS})
endfunction()

# quorix_tests(DEPS...): every test_*.cpp of the calling folder becomes one
# test executable linking the given libraries and GoogleTest.
function(quorix_tests)
  cmake_parse_arguments(T "" "" "DEPS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  file(GLOB _support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support_*.cpp)
  foreach(_t ${_tests})
    get_filename_component(_n ${_t} NAME_WE)
    get_filename_component(_layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(_exe ${_layer}_${_n})
    add_executable(${_exe} ${_t} ${_support})
    target_link_libraries(${_exe} PRIVATE ${T_DEPS} quorix_test_support GTest::gtest GTest::gmock)
    target_compile_definitions(${_exe} PRIVATE QUORIX_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
                                               QUORIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    # The screenshot cases write pictures for a person to look at and check
    # nothing without a folder to write to: scripts/screenshots.sh runs them,
    # ctest does not.
    gtest_discover_tests(${_exe}
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      TEST_FILTER "-*Screenshot*"
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      DISCOVERY_TIMEOUT 60)
  endforeach()
endfunction()
