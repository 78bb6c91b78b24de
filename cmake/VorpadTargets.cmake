# Helpers that give every test, fuzz target and benchmark the same shape.

include(GoogleTest)

# All tests that start threads; the ThreadSanitizer pass of script/test builds
# this target and runs the tests labelled "threaded".
add_custom_target(vorpad_threaded_tests)

# vorpad_add_gtest(NAME SOURCES ... LIBS ... [THREADED] [GUI])
# GUI tests bring a main that makes a QApplication (tests/support's
# vorpad_test_gui_main in LIBS, or one of their own); the others use gtest_main.
function(vorpad_add_gtest name)
  cmake_parse_arguments(ARG "THREADED;GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock)
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  # One label per test: a list value does not survive the discovery step, so
  # a threaded test carries "threaded" alone.
  set(label unit)
  if(ARG_THREADED)
    set(label threaded)
    add_dependencies(vorpad_threaded_tests ${name})
  endif()
  set(properties LABELS ${label})
  if(ARG_GUI)
    list(APPEND properties ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()
  # Listing the tests through an emulator (Wine) may take seconds of its start-up.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${properties})
endfunction()

# vorpad_add_fuzzer(NAME SOURCES ... LIBS ...): a libFuzzer target, built only
# with VORPAD_FUZZ. Its seed corpus lives in tests/fuzz/corpus/NAME.
function(vorpad_add_fuzzer name)
  if(NOT VORPAD_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# vorpad_add_benchmark(NAME SOURCES ... LIBS ...): a Google Benchmark program,
# built with VORPAD_BENCH and never run by ctest.
function(vorpad_add_benchmark name)
  if(NOT VORPAD_BENCH)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark_main)
endfunction()
