# Sections gathered from the machine: display driver and monitor, adapter
# hardware and operating system.

# The display test runs from a folder of its own, not bin/: the package
# files it looks for by bare name (QELPR.EXE, QELDCFG.DLL, ...) really lie
# in bin/, which the search looks at first. Its fixtures lie in a subfolder
# the search never looks at; the tests copy them under package names.
set(display_test_dir ${CMAKE_CURRENT_BINARY_DIR}/display)

function(qel_package_fixture name)
    add_library(${name} SHARED fixtures/fixture.c ${ARGN})
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll"
                          RUNTIME_OUTPUT_DIRECTORY ${display_test_dir}/fixtures)
endfunction()
qel_package_fixture(ver1234 fixtures/version.rc)
qel_package_fixture(verhigh fixtures/version.rc)
target_compile_definitions(verhigh PRIVATE HIGH_NUMBERS)
qel_package_fixture(nover)

qel_add_gtest(report_display_test display_test.cpp TIMEOUT 120)
target_link_libraries(report_display_test PRIVATE qelreport qeltestsupport qelautomation shlwapi)
set_target_properties(report_display_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${display_test_dir})
add_dependencies(report_display_test ver1234 verhigh nover)
# Once more as Windows 95: the sections tell the platform families apart.
qel_add_test(report_display_test_win95 report_display_test TIMEOUT 120)
set_property(TEST report_display_test_win95 APPEND PROPERTY ENVIRONMENT
    "QEL_WINDOWS=win95" "QEL_WINDOWS_PROGRAMS=report_display_test.exe")

# A program that writes the operating-system line to the file it is given:
# the hardware test starts it under other Windows versions.
add_executable(report_osline_probe osline_probe.cpp report_test.rc)
target_link_libraries(report_osline_probe PRIVATE qelreport)

qel_add_gtest(report_hardware_test hardware_test.cpp report_test.rc TIMEOUT 120)
target_link_libraries(report_hardware_test PRIVATE qelreport qeltestsupport shlwapi)
add_dependencies(report_hardware_test report_osline_probe)
