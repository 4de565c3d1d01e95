# The unit and rule tests: one binary, run headless on SDL's dummy video driver.
if(NOT SKARLUME_BUILD_TESTS)
  return()
endif()
file(GLOB TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*.cpp)
add_executable(skarlume_tests ${TEST_SOURCES})
target_link_libraries(skarlume_tests PRIVATE skarlume_core GTest::gtest_main)
if(TARGET replay_core)
  target_link_libraries(skarlume_tests PRIVATE replay_core)
endif()
gtest_discover_tests(skarlume_tests
  WORKING_DIRECTORY ${GAME_DIR}
  PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy"
  DISCOVERY_MODE PRE_TEST)

# scripts/play.sh builds on a machine without GoogleTest or Xlib: the project must configure
# with the tests off, every test-only target and test left out.
add_test(NAME PlayBuildConfiguresWithoutTheTestLibraries
  COMMAND ${CMAKE_COMMAND} -S ${PROJECT_SOURCE_DIR} -B ${CMAKE_CURRENT_BINARY_DIR}/play-only
          -DSKARLUME_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo)
set_tests_properties(PlayBuildConfiguresWithoutTheTestLibraries PROPERTIES
  LABELS startup TIMEOUT 120 FAIL_REGULAR_EXPRESSION "CMake Error")
