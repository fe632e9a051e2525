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

# project_add_test(NAME <target> SOURCES <files...> LIBS <libs...> [SANITIZE])
# One GoogleTest binary registered with ctest. SANITIZE marks tests that parse
# files or buffers (label "sanitize"): the sanitizer build (scripts/test) builds
# and runs those. A test takes one label at most: the discovered tests' property
# list cannot carry a list value.
function(project_add_test)
  cmake_parse_arguments(T "SANITIZE" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
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

# project_add_benchmark(NAME <target> SOURCES <files...> LIBS <libs...>)
function(project_add_benchmark)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT benchmark_FOUND)
    return()
  endif()
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

function(project_finish_sanitize_target)
  get_property(tests GLOBAL PROPERTY PROJECT_SANITIZE_TESTS)
  add_custom_target(sanitize-tests)
  if(tests)
    add_dependencies(sanitize-tests ${tests})
  endif()
endfunction()
