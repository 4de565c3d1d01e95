# The level tools: the checker and the solver, and the tests that every shipped level checks
# clean and that every recorded replay wins its level without spending a life.
add_library(levelcheck_core STATIC ${PROJECT_SOURCE_DIR}/tools/levelcheck.cpp
  ${PROJECT_SOURCE_DIR}/tools/levelrecord.cpp)
target_include_directories(levelcheck_core PUBLIC ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(levelcheck_core PUBLIC skarlume_core)

add_executable(checklevel ${PROJECT_SOURCE_DIR}/tools/checklevel.cpp)
target_link_libraries(checklevel PRIVATE levelcheck_core replay_core)

# The test binary is defined later (tests.cmake); its checker tests need the library.
if(SKARLUME_BUILD_TESTS)
  cmake_language(DEFER CALL target_link_libraries skarlume_tests PRIVATE levelcheck_core)
endif()

add_executable(solve ${PROJECT_SOURCE_DIR}/tools/solve.cpp)
target_link_libraries(solve PRIVATE replay_core)

set(LEVEL_FILES "")
set(SOLUTION_FILES "")
foreach(n RANGE 1 35)
  list(APPEND LEVEL_FILES levels/level${n}.txt)
  list(APPEND SOLUTION_FILES solutions/level${n}.txt)
endforeach()

add_test(NAME levels_check_clean COMMAND checklevel ${LEVEL_FILES}
  WORKING_DIRECTORY ${GAME_DIR})
set_tests_properties(levels_check_clean PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
foreach(n RANGE 1 35)
  add_test(NAME level${n}_replay_wins COMMAND replay solutions/level${n}.txt
    WORKING_DIRECTORY ${GAME_DIR})
  set_tests_properties(level${n}_replay_wins PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy"
    PASS_REGULAR_EXPRESSION "won at frame [0-9]+, no life spent")
endforeach()
