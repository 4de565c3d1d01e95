# The game's pictures: tools/makeimages draws all of them into images/ as part of every build.
pkg_check_modules(SDL_TTF REQUIRED IMPORTED_TARGET SDL_ttf)
pkg_check_modules(SDL_GFX REQUIRED IMPORTED_TARGET SDL_gfx)
# zlib packs the icons' PNG files; only the picture program uses it, never the game.
find_package(ZLIB REQUIRED)

add_executable(makeimages ${PROJECT_SOURCE_DIR}/tools/makeimages.cpp)
target_link_libraries(makeimages PRIVATE skarlume_core PkgConfig::SDL_TTF PkgConfig::SDL_GFX
                                         ZLIB::ZLIB)

# The pictures depend only on the program, so the stamp makes them redrawn when it changes.
# The menu entry's icons are drawn beside the build, not among the game's pictures.
set(IMAGES_STAMP ${CMAKE_CURRENT_BINARY_DIR}/images.stamp)
set(ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons)
add_custom_command(
  OUTPUT ${IMAGES_STAMP}
  COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
          $<TARGET_FILE:makeimages> ${GAME_DIR} ${ICON_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${IMAGES_STAMP}
  DEPENDS makeimages
  COMMENT "Drawing the game's pictures into ${GAME_DIR}/images"
  VERBATIM)
add_custom_target(images ALL DEPENDS ${IMAGES_STAMP})
add_dependencies(skarlume images)
