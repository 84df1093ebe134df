# Test programs run under Wine through tests/wine-run.sh, which gives every
# test a Wine prefix of its own and stops the program, with every process
# of its prefix, when it outlives its time limit.
set(QEL_WINE_ROOT ${CMAKE_BINARY_DIR}/wine)

# qel_wine_test_limits(NAME SECONDS): the environment of a test run through
# wine-run.sh, and its time limit. SECONDS is a few times the test's usual
# time where 32-bit Wine runs through a user-mode emulator, with room for
# the prefix template that the first test of a run makes: 120 for programs
# that take seconds, 300 for those that drive other programs for half a
# minute, so that a hang costs minutes. CTest waits a little longer than
# wine-run.sh, so that the script can stop the prefix's processes first.
function(qel_wine_test_limits name seconds)
    math(EXPR ctest_seconds "${seconds} + 30")
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QEL_TEST_NAME=${name};QEL_WINE_ROOT=${QEL_WINE_ROOT};QEL_WINE_TIMEOUT=${seconds}"
        TIMEOUT ${ctest_seconds})
endfunction()

# qel_add_test(NAME TARGET [ARGS...] TIMEOUT SECONDS): registers a program run.
function(qel_add_test name target)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "TIMEOUT" "")
    if(NOT arg_TIMEOUT)
        message(FATAL_ERROR "qel_add_test(${name}): give it a TIMEOUT")
    endif()
    add_test(NAME ${name} COMMAND ${target} ${arg_UNPARSED_ARGUMENTS})
    qel_wine_test_limits(${name} ${arg_TIMEOUT})
endfunction()

# qel_add_gtest(TARGET SOURCES... TIMEOUT SECONDS): a GoogleTest program
# registered as one test.
function(qel_add_gtest target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "TIMEOUT" "")
    add_executable(${target} ${arg_UNPARSED_ARGUMENTS})
    target_link_libraries(${target} PRIVATE gtest gtest_main)
    qel_add_test(${target} ${target} TIMEOUT ${arg_TIMEOUT})
endfunction()
