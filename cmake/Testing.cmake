enable_testing()

# One CTest entry per GoogleTest program: under Wine each test process costs a
# Wine start, so the program runs its whole suite once and writes a JUnit
# report that scripts/test counts.
set(TAVREL_TEST_RESULTS ${CMAKE_BINARY_DIR}/test-results)
file(MAKE_DIRECTORY ${TAVREL_TEST_RESULTS})
# Under Wine a Linux path is reached through drive Z:.
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(TAVREL_TEST_RESULTS_ARG "Z:${TAVREL_TEST_RESULTS}")
else()
  set(TAVREL_TEST_RESULTS_ARG "${TAVREL_TEST_RESULTS}")
endif()

# USES_REGISTRY: the program writes HKEY_CURRENT_USER or activates the
# plug-in, which reads it. Under Wine all programs share the prefix's one
# registry, so such programs never run at the same time.
function(tavrel_add_gtest name)
  cmake_parse_arguments(ARG "USES_REGISTRY" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock tavrel_warnings)
  target_precompile_headers(${name} REUSE_FROM tavrel_test_pch)
  # Read from a precompiled header, GCC 12's own std::string code loses the
  # quiet of a system header, and its known false warnings on adding strings
  # (array-bounds, stringop-overflow in char_traits) stop the build; the
  # sanitizer build checks the tests' bounds for real.
  target_compile_options(${name} PRIVATE "$<$<CXX_COMPILER_ID:GNU>:-Wno-array-bounds;-Wno-stringop-overflow>")
  target_compile_definitions(${name} PRIVATE
    TAVREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TAVREL_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${name}
    COMMAND ${name} --gtest_output=xml:${TAVREL_TEST_RESULTS_ARG}/${name}.xml)
  set_tests_properties(${name} PROPERTIES LABELS unit TIMEOUT 600)
  if(ARG_USES_REGISTRY)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK registry)
  endif()
endfunction()
