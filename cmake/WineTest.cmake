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

# The Windows versions, by Wine's names, that the end-to-end tests run the
# programs as. This Wine (8) does not know Windows 11: asked for "win11" it
# reports its default, Windows 7, so 11 is left out.
set(QEL_WINDOWS_VERSIONS win95 win98 nt40 win2k winxp win7 win10)

# qel_add_version_matrix(NAME TARGET PROGRAMS EXE... FILTER GTEST-FILTER
#                        TIMEOUT SECONDS): one test NAME_<version> per
# Windows version, each running TARGET with Wine reporting that version to
# the programs named (QEL_WINDOWS, read by the test for what it expects).
# Windows 7, Wine's default, runs every test of TARGET; the other versions
# run only the FILTER's: the program's main road, which every version must
# take, without the error cases, which do not depend on the version.
function(qel_add_version_matrix name target)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "FILTER;TIMEOUT" "PROGRAMS")
    foreach(version ${QEL_WINDOWS_VERSIONS})
        set(test ${name}_${version})
        if(version STREQUAL "win7")
            add_test(NAME ${test} COMMAND ${target})
        else()
            add_test(NAME ${test} COMMAND ${target} --gtest_filter=${arg_FILTER})
        endif()
        qel_wine_test_limits(${test} ${arg_TIMEOUT})
        string(REPLACE ";" " " programs "${arg_PROGRAMS}")
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
            "QEL_WINDOWS=${version}" "QEL_WINDOWS_PROGRAMS=${programs}")
    endforeach()
endfunction()
