# Performance and endurance: the frame/load/start-up benchmark, the bare flip loop it is
# compared with in a real window, the start-up stamp preloaded into the game, and the soak run.
set(BENCH_DIR ${PROJECT_SOURCE_DIR}/bench)

# Random play over every level; a short run is part of the test suite (also under sanitizers).
add_executable(skarlume_soak ${BENCH_DIR}/soak.cpp)
target_link_libraries(skarlume_soak PRIVATE skarlume_core)
target_compile_definitions(skarlume_soak PRIVATE GAME_DIR="${GAME_DIR}")
add_test(NAME SoakRandomKeysOverEveryLevel
  COMMAND skarlume_soak --frames 30000 --changes 300)
set_tests_properties(SoakRandomKeysOverEveryLevel PROPERTIES
  LABELS soak TIMEOUT 300
  ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")

# Fills and flips the game's window at 60 frames a second and nothing else: the yardstick for
# the game's processor use in a real window.
add_executable(bare_flip_loop ${BENCH_DIR}/bare_flip_loop.cpp)
target_link_libraries(bare_flip_loop PRIVATE PkgConfig::SDL)

# A preloaded stamp cannot carry the sanitizers' runtime, and timings under them mean nothing.
if(NOT SKARLUME_SANITIZE)
  add_library(first_flip_stamp MODULE ${BENCH_DIR}/first_flip_stamp.c)
  target_link_libraries(first_flip_stamp PRIVATE PkgConfig::SDL)

  # The plain way of drawing a frame, which the frame tests compare with, is its baseline.
  add_executable(skarlume_bench ${BENCH_DIR}/bench_main.cpp
                 ${PROJECT_SOURCE_DIR}/tests/plaindrawing.cpp)
  target_include_directories(skarlume_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(skarlume_bench PRIVATE replay_core)
  target_compile_definitions(skarlume_bench PRIVATE
    GAME_DIR="${GAME_DIR}"
    BENCH_DATA_DIR="${BENCH_DIR}"
    GAME_BINARY="$<TARGET_FILE:skarlume>"
    FIRST_FLIP_STAMP="$<TARGET_FILE:first_flip_stamp>")
  add_dependencies(skarlume_bench skarlume first_flip_stamp)
endif()
