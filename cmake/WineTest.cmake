# qel_add_test(NAME target [args...])
# Registers a test program; CTest runs it under Wine through the emulator
# script, which gives every test a Wine prefix of its own.
set(QEL_WINE_ROOT ${CMAKE_BINARY_DIR}/wine)

function(qel_add_test name target)
    add_test(NAME ${name} COMMAND ${target} ${ARGN})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QEL_TEST_NAME=${name};QEL_WINE_ROOT=${QEL_WINE_ROOT}"
        TIMEOUT 600)
endfunction()

# qel_add_gtest(target sources...): a GoogleTest program registered as one test.
function(qel_add_gtest target)
    add_executable(${target} ${ARGN})
    target_link_libraries(${target} PRIVATE gtest gtest_main)
    qel_add_test(${target} ${target})
endfunction()
