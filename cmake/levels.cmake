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

# The survey and the report's measures, shared by the solver, the report and the tests.
add_library(report_core STATIC ${PROJECT_SOURCE_DIR}/tools/survey.cpp
  ${PROJECT_SOURCE_DIR}/tools/levelreport.cpp)
target_include_directories(report_core PUBLIC ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(report_core PUBLIC replay_core)
if(SKARLUME_BUILD_TESTS)
  cmake_language(DEFER CALL target_link_libraries skarlume_tests PRIVATE report_core)
endif()

add_executable(solve ${PROJECT_SOURCE_DIR}/tools/solve.cpp)
target_link_libraries(solve PRIVATE report_core)

add_executable(levelreport ${PROJECT_SOURCE_DIR}/tools/levelreport_main.cpp
  ${PROJECT_SOURCE_DIR}/tools/reportchart.cpp)
target_link_libraries(levelreport PRIVATE report_core PkgConfig::SDL_TTF PkgConfig::SDL_GFX)

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

# The level report on every shipped level: a level's test fails when the level misses one of
# the campaign's targets (random play, lateness, a clean replay). The rule over the last ten
# levels is judged by a run over all of them (one random game each there: the single-level
# tests have already played the thirty).
foreach(n RANGE 1 35)
  add_test(NAME level${n}_report COMMAND levelreport ${n}
    WORKING_DIRECTORY ${GAME_DIR})
  set_tests_properties(level${n}_report PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy" LABELS report)
endforeach()
add_test(NAME levels_report_last_ten COMMAND levelreport --random-plays 1 26-35
  WORKING_DIRECTORY ${GAME_DIR})
set_tests_properties(levels_report_last_ten PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy" LABELS report)
