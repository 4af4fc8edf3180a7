# One ctest entry per test executable; every test runs under Wine (the
# toolchain's emulator) with bin/ on the DLL search path.
set(TARNWELL_TEST_BIN_DIR ${CMAKE_BINARY_DIR}/tests/bin)
# The programs that draw the controls and pages on the product theme live
# beside their own copy of its skins (the library looks for skins next to the
# executable) and run in the screenshot folder, which then holds only pictures.
set(TARNWELL_SCREENSHOT_DIR ${CMAKE_BINARY_DIR}/screenshots CACHE PATH
    "Where the tests save their pictures (the 64-bit test build puts them beside the product's)")
set(TARNWELL_SCREENSHOT_BIN_DIR ${CMAKE_BINARY_DIR}/tests/screenshot-bin)
file(MAKE_DIRECTORY ${TARNWELL_SCREENSHOT_DIR})
string(REPLACE "/" "\\" _bin_dos "Z:${TARNWELL_BIN_DIR}")

# tarnwell_add_test(<name> LABEL <subsystem> [GUI] SOURCES ... [LIBS ...])
# GUI tests share the one Xvfb display, so they never run at the same time.
function(tarnwell_add_test name)
    cmake_parse_arguments(T "GUI;NO_GTEST_MAIN" "LABEL" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
    if(NOT T_NO_GTEST_MAIN)
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TARNWELL_TEST_BIN_DIR})
    add_dependencies(${name} tarnwell_runtime)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES
        LABELS "${T_LABEL}"
        WORKING_DIRECTORY ${TARNWELL_TEST_BIN_DIR}
        ENVIRONMENT "WINEPATH=${_bin_dos}"
        TIMEOUT 300)
    if(T_GUI)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
    endif()
endfunction()

# tarnwell_add_bench(<name> SOURCES ... [LIBS ...])
# A benchmark: built with the tests into the same folder, never run by ctest.
# scripts/bench.sh runs every one of them (named <name>.exe, <name> ending in
# _bench); each prints its own figures, measured as ratios against a
# reference it runs in the same invocation.
function(tarnwell_add_bench name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT name MATCHES "_bench$")
        message(FATAL_ERROR "benchmark ${name}: the name must end in _bench")
    endif()
    add_executable(${name} ${B_SOURCES})
    target_link_libraries(${name} PRIVATE ${B_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TARNWELL_TEST_BIN_DIR})
    add_dependencies(${name} tarnwell_runtime)
endfunction()
