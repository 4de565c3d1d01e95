# Installing the game as Debian's games layout has it, and the Debian package made from the
# same rules (cpack -G DEB in the build directory). Included after every part, so that it
# installs whatever tools the parts defined.
set(PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(GAMES_DIR games)
set(GAME_LIB_DIR lib/games/skarlume)
set(GAME_DATA_DIR share/games/skarlume)
set(DOC_DIR share/doc/skarlume)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The launcher starts the game binary from the data directory.
install(PROGRAMS ${PACKAGING_DIR}/skarlume.sh DESTINATION ${GAMES_DIR} RENAME skarlume)
install(TARGETS skarlume RUNTIME DESTINATION ${GAME_LIB_DIR})
install(DIRECTORY ${GAME_DIR}/images DESTINATION ${GAME_DATA_DIR} FILES_MATCHING PATTERN "*.bmp")
install(DIRECTORY ${GAME_DIR}/sounds DESTINATION ${GAME_DATA_DIR} FILES_MATCHING PATTERN "*.wav")
install(DIRECTORY ${GAME_DIR}/levels ${GAME_DIR}/solutions DESTINATION ${GAME_DATA_DIR}
        FILES_MATCHING PATTERN "level*.txt")

# The level tools, as skarlume-TOOL. install(TARGETS) cannot rename, so they are stripped here
# when the install asks for it (cmake --install --strip, and cpack), the game too, of the
# compiler's notes as well as its symbols.
set(INSTALLED_TOOLS "")
set(STRIPPED_PROGRAMS ${GAME_LIB_DIR}/skarlume)
foreach(tool checklevel replay record solve editor)
  if(TARGET ${tool})
    install(PROGRAMS $<TARGET_FILE:${tool}> DESTINATION ${GAMES_DIR} RENAME skarlume-${tool})
    list(APPEND INSTALLED_TOOLS skarlume-${tool})
    list(APPEND STRIPPED_PROGRAMS ${GAMES_DIR}/skarlume-${tool})
  endif()
endforeach()
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program ${STRIPPED_PROGRAMS})
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${program}\"
                      RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR \"cannot strip \${program}\")
      endif()
    endforeach()
  endif()")

# The menu entry, the manual page and the changelog name the prefix they are installed under,
# which cpack sets only at install time, so they are filled in then.
find_program(GZIP gzip REQUIRED)
set(STAGED_DIR ${CMAKE_CURRENT_BINARY_DIR}/installed-files)
file(MAKE_DIRECTORY ${STAGED_DIR})
install(CODE "
  set(PROJECT_VERSION ${PROJECT_VERSION})
  configure_file(\"${PACKAGING_DIR}/skarlume.desktop.in\" \"${STAGED_DIR}/skarlume.desktop\" @ONLY)
  configure_file(\"${PACKAGING_DIR}/skarlume.6.in\" \"${STAGED_DIR}/skarlume.6\" @ONLY)
  foreach(page skarlume.6 changelog)
    if(page STREQUAL changelog)
      set(source \"${PACKAGING_DIR}/changelog\")
    else()
      set(source \"${STAGED_DIR}/\${page}\")
    endif()
    execute_process(COMMAND \"${GZIP}\" -9nc \"\${source}\" OUTPUT_FILE \"${STAGED_DIR}/\${page}.gz\"
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR \"cannot compress \${page}\")
    endif()
  endforeach()")
install(FILES ${STAGED_DIR}/skarlume.desktop DESTINATION share/applications)
install(FILES ${STAGED_DIR}/skarlume.6.gz DESTINATION share/man/man6)
install(FILES ${STAGED_DIR}/changelog.gz ${PACKAGING_DIR}/copyright DESTINATION ${DOC_DIR})

# One manual page tells of the game and its tools; each tool's name leads to it.
foreach(tool ${INSTALLED_TOOLS})
  file(CREATE_LINK skarlume.6.gz ${STAGED_DIR}/${tool}.6.gz SYMBOLIC)
  install(FILES ${STAGED_DIR}/${tool}.6.gz DESTINATION share/man/man6)
endforeach()

configure_file(${PACKAGING_DIR}/skarlume.metainfo.xml.in ${STAGED_DIR}/skarlume.metainfo.xml
               @ONLY)
install(FILES ${STAGED_DIR}/skarlume.metainfo.xml DESTINATION share/metainfo)
foreach(size 48 128 256)
  install(FILES ${ICON_DIR}/skarlume-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME skarlume.png)
endforeach()

# The Debian package: its Depends come from the binaries (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skarlume)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade puzzle shooter of bank shots off bouncing walls")
set(CPACK_PACKAGE_CONTACT "Skarlume maintainers <maintainers@skarlume.example>")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# cpack puts the summary above the description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Steer a ship inside its outlined areas and fire lasers that bounce off
straight and diagonal walls: most kills are bank shots. Enemies walk closed
paths and fire on a fixed period, crates catch your lasers, and any laser
that reaches your ship, your own included, destroys it. 35 levels, three
ships and four lives.
.
For level designers: a level editor, a level checker, a replay player and
recorder, and a solver that searches for a winning replay, all through the
game's own rules.")
include(CPack)

# The package test: builds the package, installs it into a scratch root and runs what it
# installed there (tests/package/check_package.sh). A preloaded module cannot carry the
# sanitizers' runtime, so it runs in the plain build only.
if(SKARLUME_BUILD_TESTS AND NOT SKARLUME_SANITIZE)
  add_library(first_flip_shot MODULE ${PROJECT_SOURCE_DIR}/tests/package/first_flip_shot.c)
  target_include_directories(first_flip_shot PRIVATE ${SDL_INCLUDE_DIRS})
  target_compile_options(first_flip_shot PRIVATE ${SDL_CFLAGS_OTHER})
  set(EXTRA_PACKAGED_TOOLS "")
  if(TARGET editor)
    set(EXTRA_PACKAGED_TOOLS editor)
  endif()
  add_test(NAME PackageInstallsAndRunsFromAScratchRoot
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/package/check_package.sh ${CMAKE_CURRENT_BINARY_DIR}
            ${GAME_DIR} $<TARGET_FILE:first_flip_shot> ${EXTRA_PACKAGED_TOOLS})
  set_tests_properties(PackageInstallsAndRunsFromAScratchRoot PROPERTIES
    LABELS package TIMEOUT 300)
endif()
