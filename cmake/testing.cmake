# GoogleTest from Debian's source package, built by each configuration.
set(MARROWBY_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${MARROWBY_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

include(GoogleTest)

# The Windows tests share one Wine prefix, wineserver and Xvfb display; the
# fixture ends them after the last test.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME wine_stop COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --stop ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

# marrowby_add_test(NAME SOURCES ... [LIBRARIES ...] [WORKING_DIRECTORY dir] [PROPERTIES ...])
# One GoogleTest executable; its cases are discovered when the tests run.
function(marrowby_add_test name)
  cmake_parse_arguments(T "" "WORKING_DIRECTORY" "SOURCES;LIBRARIES;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBRARIES} GTest::gmock GTest::gtest_main)
  if(NOT T_WORKING_DIRECTORY)
    set(T_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  set(properties ${T_PROPERTIES})
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    list(APPEND properties FIXTURES_REQUIRED wine)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 180
    WORKING_DIRECTORY ${T_WORKING_DIRECTORY}
    PROPERTIES ${properties})
endfunction()
