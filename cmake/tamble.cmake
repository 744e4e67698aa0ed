# Helpers shared by the module, test, benchmark and fuzz folders.

# tamble_library(NAME [GLOB patterns...] LIBS ...): a static library made of every
# .cpp directly inside the calling folder (subfolders hold their own libraries).
function(tamble_library name)
  cmake_parse_arguments(ARG "" "" "LIBS;GLOB" ${ARGN})
  if(NOT ARG_GLOB)
    set(ARG_GLOB "*.cpp")
  endif()
  set(srcs)
  foreach(pattern ${ARG_GLOB})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${pattern})
    list(APPEND srcs ${found})
  endforeach()
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  else()
    # A module whose sources have not been written yet still links.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()

# tamble_test(NAME SOURCES ... LIBS ...): one GoogleTest binary registered with CTest.
function(tamble_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock Threads::Threads)
  target_compile_definitions(${name} PRIVATE TAMBLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  # One variable only: a list here would be split into separate properties on
  # its way to the discovered tests. The sanitizer builds take LSAN_OPTIONS from
  # the Makefile's environment instead.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT SDL_AUDIODRIVER=dummy)
endfunction()

# tamble_bench(NAME SOURCES ... LIBS ...): a Google Benchmark program.
function(tamble_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark Threads::Threads)
endfunction()

# tamble_fuzz(NAME SOURCES ... LIBS ...): a fuzz target fuzz/<family>/NAME.cpp with its
# seed corpus in corpus_<NAME without "fuzz_"> beside it. With TAMBLE_FUZZ (clang) it is a
# libFuzzer program; in every build with tests, NAME_corpus links the same target to a
# plain main that replays the corpus, registered with CTest as fuzz_corpus.NAME.
function(tamble_fuzz name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  string(REGEX REPLACE "^fuzz_" "" corpus ${name})
  set(corpus_dir ${CMAKE_CURRENT_SOURCE_DIR}/corpus_${corpus})
  if(NOT IS_DIRECTORY ${corpus_dir})
    message(FATAL_ERROR "fuzz target ${name} has no seed corpus ${corpus_dir}")
  endif()
  if(TAMBLE_FUZZ)
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_compile_definitions(${name} PRIVATE TAMBLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endif()
  if(BUILD_TESTING)
    add_executable(${name}_corpus ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/corpus_main.cpp)
    target_link_libraries(${name}_corpus PRIVATE ${ARG_LIBS})
    target_compile_definitions(${name}_corpus PRIVATE TAMBLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    add_test(NAME fuzz_corpus.${name} COMMAND ${name}_corpus ${corpus_dir})
  endif()
endfunction()
