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
