# The web build (emcmake, into build-web/ by scripts/web.sh): the game and the replay tool,
# compiled by emscripten against its own SDL 1.2 emulation, with the pictures that a native
# build drew. The site, a folder any static web server can serve, lands in site/.
enable_testing()

# emscripten's built-in SDL 1.2 stands where pkg-config's would: the host's sdl.pc and zlib
# belong to the native build.
add_library(PkgConfig::SDL INTERFACE IMPORTED)

set(GAME_DIR ${PROJECT_SOURCE_DIR})
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
set(SITE_DIR ${PROJECT_BINARY_DIR}/site)
set(WEB_DIR ${PROJECT_SOURCE_DIR}/web)
set(SKARLUME_NATIVE_BUILD ${PROJECT_SOURCE_DIR}/build CACHE PATH
    "The native build whose replay tool the web tests compare against")

# emscripten's optimiser finds its JavaScript parser among Debian's node modules.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# ---- The pictures: those the native build drew, the full-window ones as lossless WebP. The
# glyph sheet goes too: the game letters its level banner, its pause and its Continue with it.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GLOB NATIVE_PICTURES CONFIGURE_DEPENDS ${GAME_DIR}/images/*.bmp)
if(NOT NATIVE_PICTURES)
  message(FATAL_ERROR "No pictures in ${GAME_DIR}/images: build the native game first "
                      "(scripts/web.sh does)")
endif()
set(WEB_IMAGES ${PROJECT_BINARY_DIR}/images)
set(WEB_IMAGES_STAMP ${PROJECT_BINARY_DIR}/images.stamp)
add_custom_command(
  OUTPUT ${WEB_IMAGES_STAMP}
  COMMAND ${Python3_EXECUTABLE} ${WEB_DIR}/packimages.py ${GAME_DIR}/images ${WEB_IMAGES}
          ${WEB_IMAGES_STAMP}
  DEPENDS ${NATIVE_PICTURES} ${WEB_DIR}/packimages.py
  COMMENT "Preparing the pictures for the web"
  VERBATIM)
add_custom_target(images ALL DEPENDS ${WEB_IMAGES_STAMP})
# The sounds are not shipped: the game makes them as it starts (web/websounds.cpp), with the
# native tool's own recipes, which is less to download than their WAV files.
add_custom_target(sounds)

# ---- The game and the replay tool, unchanged but for the web shim.
add_subdirectory(src)
add_subdirectory(tools/common)
add_subdirectory(tools/replay)

# ASYNCIFY lets the game's own loops hand the browser its turn from inside them; the pictures
# are decoded by the browser as they are loaded (--use-preload-plugins).
set(WEB_LINK_OPTIONS
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH -sEXIT_RUNTIME
  -sEXPORTED_RUNTIME_METHODS=FS --use-preload-plugins --pre-js ${WEB_DIR}/shim.js
  "SHELL:--preload-file ${WEB_IMAGES}@/images"
  "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/levels@/levels")
# The data is packed at the link, so a changed level, replay or picture links again.
file(GLOB LEVEL_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/levels/*)
file(GLOB REPLAY_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/solutions/*)
foreach(program skarlume replay)
  target_link_options(${program} PRIVATE ${WEB_LINK_OPTIONS})
  set_property(TARGET ${program} APPEND PROPERTY LINK_DEPENDS ${WEB_IMAGES_STAMP}
                                                            ${WEB_DIR}/shim.js ${LEVEL_FILES})
  add_dependencies(${program} images)
endforeach()
# The game makes its sounds with the sound tool's recipes, the same bytes as natively.
set(SOUND_RECIPES ${PROJECT_SOURCE_DIR}/tools/makesounds)
target_sources(skarlume PRIVATE ${WEB_DIR}/websounds.cpp ${SOUND_RECIPES}/effects.cpp
                                ${SOUND_RECIPES}/synth.cpp ${SOUND_RECIPES}/wavfile.cpp)
target_include_directories(skarlume PRIVATE ${SOUND_RECIPES})
target_compile_options(skarlume PRIVATE -ffp-contract=off)
# The player's settings and progress are kept in the browser's IndexedDB (web/shim.js).
target_link_options(skarlume PRIVATE -lidbfs.js)
# The replay tool plays the shipped replays.
target_link_options(replay PRIVATE "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/solutions@/solutions")
set_property(TARGET replay APPEND PROPERTY LINK_DEPENDS ${REPLAY_FILES})

# The site: the page and the game's script, program and data. The replay tool's page, for the
# tests, lands beside the site.
add_custom_target(site ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SITE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${WEB_DIR}/index.html
          ${PROJECT_BINARY_DIR}/skarlume.js ${PROJECT_BINARY_DIR}/skarlume.wasm
          ${PROJECT_BINARY_DIR}/skarlume.data ${SITE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${WEB_DIR}/replay.html ${PROJECT_BINARY_DIR}
  COMMENT "Laying out the site in ${SITE_DIR}"
  VERBATIM)
add_dependencies(site skarlume replay)

include(${WEB_DIR}/tests.cmake)
