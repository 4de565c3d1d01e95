# The real program run whole: start-up with a picture missing (headless), and the menus in a
# real X window, each on both SDL 1.2 runtimes: the classic library the game is built against
# and sdl12-compat, which most current desktops ship instead.
if(NOT SKARLUME_BUILD_TESTS)
  return()
endif()
add_executable(closewindow ${PROJECT_SOURCE_DIR}/tools/closewindow.c)
target_link_libraries(closewindow PRIVATE X11::X11)

set(SDL12_COMPAT_DIR "/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/sdl12-compat"
    CACHE PATH "Where the package libsdl1.2-compat puts its libSDL-1.2.so.0")
set(E2E_DIR ${PROJECT_SOURCE_DIR}/tests/e2e)

foreach(runtime classic compat)
  add_test(NAME StartupWithoutCratePictureFailsCleanly_${runtime}
    COMMAND bash ${E2E_DIR}/missing_picture.sh $<TARGET_FILE:skarlume> ${runtime} ${GAME_DIR})
  set_tests_properties(StartupWithoutCratePictureFailsCleanly_${runtime} PROPERTIES
    LABELS startup TIMEOUT 60
    ENVIRONMENT "SDL12_COMPAT_DIR=${SDL12_COMPAT_DIR}")

  add_test(NAME MenusInARealWindow_${runtime}
    COMMAND bash ${E2E_DIR}/menus.sh $<TARGET_FILE:skarlume> $<TARGET_FILE:closewindow>
            ${runtime} ${GAME_DIR} ${CMAKE_CURRENT_BINARY_DIR}/e2e-shots/${runtime})
  set_tests_properties(MenusInARealWindow_${runtime} PROPERTIES
    LABELS e2e TIMEOUT 180
    ENVIRONMENT "SDL12_COMPAT_DIR=${SDL12_COMPAT_DIR}")
endforeach()


# Counts the game's frames for the pacing check of the play screen in a real window.
add_library(flipcount MODULE ${E2E_DIR}/flipcount.c)
target_link_libraries(flipcount PRIVATE PkgConfig::SDL ${CMAKE_DL_LIBS})
set_target_properties(flipcount PROPERTIES PREFIX "")

foreach(runtime classic compat)
  add_test(NAME PlayInARealWindow_${runtime}
    COMMAND bash ${E2E_DIR}/play.sh $<TARGET_FILE:skarlume> $<TARGET_FILE:record>
            $<TARGET_FILE:replay> $<TARGET_FILE:flipcount> ${runtime} ${GAME_DIR})
  set_tests_properties(PlayInARealWindow_${runtime} PROPERTIES
    LABELS e2e TIMEOUT 180 RUN_SERIAL TRUE
    ENVIRONMENT "SDL12_COMPAT_DIR=${SDL12_COMPAT_DIR}")
endforeach()
