# The level editor: its units in a library (the tests drive them headless) and the `editor`
# command, which edits a level file in a window with the game's own loader and drawing.
set(EDITOR_DIR ${PROJECT_SOURCE_DIR}/tools/editor)
add_library(editor_core STATIC
  ${EDITOR_DIR}/document.cpp ${EDITOR_DIR}/editor.cpp ${EDITOR_DIR}/history.cpp
  ${EDITOR_DIR}/lettering.cpp ${EDITOR_DIR}/savefile.cpp ${EDITOR_DIR}/shapes.cpp
  ${EDITOR_DIR}/testplay.cpp ${EDITOR_DIR}/view.cpp)
target_include_directories(editor_core PUBLIC ${EDITOR_DIR})
target_link_libraries(editor_core PUBLIC levelcheck_core replay_core)

add_executable(editor ${EDITOR_DIR}/main.cpp)
target_link_libraries(editor PRIVATE editor_core)
add_dependencies(editor images)

# The test binary is defined later (tests.cmake); its editor tests need the library.
if(SKARLUME_BUILD_TESTS)
  cmake_language(DEFER CALL target_link_libraries skarlume_tests PRIVATE editor_core)
endif()

# The editor in a real X window on both SDL 1.2 runtimes: a crate placed with the mouse and
# saved, an unsaved edit kept on close, a test-play paced and left.
# The window tests need the test tools (closewindow, flipcount), built only with the tests.
if(SKARLUME_BUILD_TESTS)
  foreach(runtime classic compat)
    add_test(NAME EditorInARealWindow_${runtime}
      COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/editor.sh $<TARGET_FILE:editor>
              $<TARGET_FILE:checklevel> $<TARGET_FILE:closewindow> $<TARGET_FILE:flipcount>
              ${runtime} ${GAME_DIR})
    set_tests_properties(EditorInARealWindow_${runtime} PROPERTIES
      LABELS e2e TIMEOUT 120
      ENVIRONMENT "SDL12_COMPAT_DIR=${SDL12_COMPAT_DIR}")
  endforeach()
endif()
