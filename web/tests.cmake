# The web tests: headless chromium against the site and the replay tool's page, served on
# 127.0.0.1 by the test itself, compared with the native build's replay tool and pictures.
find_program(NODE_EXECUTABLE node REQUIRED)
set(WEB_TESTS_DIR ${PROJECT_SOURCE_DIR}/tests/web)
foreach(test
    "ShippedReplaysEndInTheBrowserAsNatively:replays"
    "FramesInTheBrowserMatchTheNativeShots:frames"
    "KeysPlayTheGameInTheBrowser:keys"
    "OwnLevelsAndSharedLinksPlayInTheBrowser:links"
    "SoundFullscreenGamepadsAndSettingsInTheBrowser:player")
  string(REPLACE ":" ";" parts ${test})
  list(GET parts 0 name)
  list(GET parts 1 script)
  add_test(NAME ${name}
    COMMAND ${NODE_EXECUTABLE} ${WEB_TESTS_DIR}/${script}.mjs ${PROJECT_BINARY_DIR}
            ${SKARLUME_NATIVE_BUILD} ${GAME_DIR})
  set_tests_properties(${name} PROPERTIES LABELS web TIMEOUT 600
    FAIL_REGULAR_EXPRESSION "FAILED")
endforeach()
add_test(NAME TheSiteIsSmallEnoughToServe
  COMMAND ${NODE_EXECUTABLE} ${WEB_TESTS_DIR}/size.mjs ${PROJECT_BINARY_DIR})
set_tests_properties(TheSiteIsSmallEnoughToServe PROPERTIES LABELS web
  FAIL_REGULAR_EXPRESSION "FAILED")
