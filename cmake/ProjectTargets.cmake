# Helpers shared by every folder's CMakeLists.

# Adds each listed subfolder that has a CMakeLists.txt; folders that are not
# written yet are skipped, so the tree builds at every step.
function(project_add_subdirectories)
  foreach(dir IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# project_add_test(NAME <target> SOURCES <files...> LIBS <libs...> [SANITIZE] [TIMEOUT <s>])
# One GoogleTest binary registered with ctest. SANITIZE marks tests that parse
# files or buffers (label "sanitize"): the sanitizer build (scripts/test) builds
# and runs those. A test takes one label at most: the discovered tests' property
# list cannot carry a list value. TIMEOUT (seconds) bounds each test of the
# binary; scripts/test runs a test that timed out again, up to three times.
# The test files are compiled over a precompiled header of GoogleTest,
# GoogleMock and the standard library, which every test file would otherwise
# parse again.
function(project_add_test)
  cmake_parse_arguments(T "SANITIZE" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  project_test_precompiled_headers(${T_NAME})
  set(properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(T_TIMEOUT)
    list(APPEND properties TIMEOUT ${T_TIMEOUT})
  endif()
  if(T_SANITIZE)
    list(APPEND properties LABELS sanitize)
    set_property(GLOBAL APPEND PROPERTY PROJECT_SANITIZE_TESTS ${T_NAME})
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    NO_PRETTY_VALUES
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${properties})
endfunction()

# project_defer_sane_cancellation(<target>): for programs that scan. Links the
# stand-in that keeps SANE backends from cancelling their reader threads
# asynchronously (plugins/mvtwain/deferred_cancellation.c) and exports it, so
# that the backends, loaded at run time, bind to it.
function(project_defer_sane_cancellation target)
  if(NOT TARGET sane_deferred_cancellation)
    add_library(sane_deferred_cancellation OBJECT ${PROJECT_SOURCE_DIR}/plugins/mvtwain/deferred_cancellation.c)
  endif()
  target_link_libraries(${target} PRIVATE sane_deferred_cancellation ${CMAKE_DL_LIBS})
  target_link_options(${target} PRIVATE -Wl,--export-dynamic-symbol=pthread_setcanceltype)
endfunction()

# The precompiled header of a test binary.
function(project_test_precompiled_headers target)
  target_precompile_headers(${target} PRIVATE <gtest/gtest.h> <gmock/gmock.h>
    <algorithm> <array> <cstdint> <cstring> <filesystem> <fstream> <functional>
    <map> <memory> <optional> <sstream> <string> <string_view> <vector>)
endfunction()

# project_add_benchmark(NAME <target> SOURCES <files...> LIBS <libs...>)
function(project_add_benchmark)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT benchmark_FOUND)
    return()
  endif()
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# project_add_fuzzer(NAME <target> SOURCES <files...> SEEDS <files...> LIBS <libs...> [SECONDS <n>] [RSS_MB <n>])
# A libFuzzer target and the program that writes its seed corpus with our own
# code, built only in a fuzzing tree (-DFUZZ=ON, clang; see scripts/fuzz).
# The seed program takes the corpus folder as its argument. SECONDS is the
# target's share of a scripts/fuzz run (default 20); RSS_MB its memory limit
# (default 2560): an input that makes it allocate beyond that fails the run.
function(project_add_fuzzer)
  cmake_parse_arguments(F "" "NAME;SECONDS;RSS_MB" "SOURCES;SEEDS;LIBS" ${ARGN})
  if(NOT FUZZ)
    return()
  endif()
  if(NOT F_SECONDS)
    set(F_SECONDS 20)
  endif()
  if(NOT F_RSS_MB)
    set(F_RSS_MB 2560)
  endif()
  add_executable(${F_NAME} ${F_SOURCES})
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  add_executable(${F_NAME}_seeds ${F_SEEDS})
  target_link_libraries(${F_NAME}_seeds PRIVATE ${F_LIBS})
  set_property(GLOBAL APPEND PROPERTY PROJECT_FUZZERS
    "${F_NAME} ${F_SECONDS} ${F_RSS_MB} $<TARGET_FILE:${F_NAME}> $<TARGET_FILE:${F_NAME}_seeds>")
  set_property(GLOBAL APPEND PROPERTY PROJECT_FUZZER_TARGETS ${F_NAME} ${F_NAME}_seeds)
endfunction()

# The fuzzing tree's list of targets (fuzzers.txt: name, seconds, memory limit
# in MB, program, seed program per line) and the target "fuzzers" that builds them all.
function(project_finish_fuzzers)
  if(NOT FUZZ)
    return()
  endif()
  get_property(lines GLOBAL PROPERTY PROJECT_FUZZERS)
  get_property(targets GLOBAL PROPERTY PROJECT_FUZZER_TARGETS)
  list(JOIN lines "\n" text)
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/fuzzers.txt CONTENT "${text}\n")
  add_custom_target(fuzzers)
  if(targets)
    add_dependencies(fuzzers ${targets})
  endif()
endfunction()

function(project_finish_sanitize_target)
  get_property(tests GLOBAL PROPERTY PROJECT_SANITIZE_TESTS)
  add_custom_target(sanitize-tests)
  if(tests)
    add_dependencies(sanitize-tests ${tests})
  endif()
endfunction()
