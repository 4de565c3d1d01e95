# How the level tools find the installed pictures and levels when they are started outside a
# game directory (tools/gamedir.cpp); every tool links it, the editor too once it is built.
add_library(gamedir STATIC ${PROJECT_SOURCE_DIR}/tools/gamedir.cpp)
target_include_directories(gamedir PUBLIC ${PROJECT_SOURCE_DIR}/tools)
target_compile_definitions(gamedir PRIVATE
  SKARLUME_INSTALLED_DATA_DIR="${CMAKE_INSTALL_PREFIX}/share/games/skarlume")

# The tools are defined by later parts, so they are linked once every part is in.
function(link_tools_to_gamedir)
  foreach(tool checklevel replay record solve editor skarlume_tests)
    if(TARGET ${tool})
      target_link_libraries(${tool} PRIVATE gamedir)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL link_tools_to_gamedir)
