# The replay library and the `replay` command that plays a level headless from a replay file.
add_library(replay_core STATIC ${PROJECT_SOURCE_DIR}/tools/replay.cpp)
target_include_directories(replay_core PUBLIC ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(replay_core PUBLIC skarlume_core)

add_executable(replay ${PROJECT_SOURCE_DIR}/tools/replay_main.cpp)
target_link_libraries(replay PRIVATE replay_core)

add_executable(record ${PROJECT_SOURCE_DIR}/tools/record.cpp)
target_link_libraries(record PRIVATE replay_core)
