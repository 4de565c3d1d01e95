# The level-file fuzzer (libFuzzer, with the address and undefined-behaviour sanitizers). It
# needs clang, so it lives in a build directory of its own: fuzz/run.sh sets one up.
option(SKARLUME_FUZZ "Build the libFuzzer target for level files (needs clang)" OFF)
if(SKARLUME_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "SKARLUME_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # The game's own sources are compiled again here with the fuzzer's coverage instrumentation.
  add_executable(fuzz_level ${PROJECT_SOURCE_DIR}/fuzz/fuzz_level.cpp ${CORE_SOURCES})
  target_include_directories(fuzz_level PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(fuzz_level PRIVATE PkgConfig::SDL)
  target_compile_definitions(fuzz_level PRIVATE GAME_DIR="${GAME_DIR}")
  set(FUZZ_SANITIZERS -fsanitize=fuzzer,address,undefined)
  # Lasers and walls are held by value, so clang's worry about deleting them through a base
  # without a virtual destructor does not apply.
  target_compile_options(fuzz_level PRIVATE ${FUZZ_SANITIZERS} -fno-sanitize-recover=all
                                            -fno-omit-frame-pointer
                                            -Wno-delete-non-abstract-non-virtual-dtor)
  target_link_options(fuzz_level PRIVATE ${FUZZ_SANITIZERS})
endif()
