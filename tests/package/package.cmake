# The release as a user gets it: built here from the same sources into
# <build>/release (scripts/package.sh builds it the same way), installed
# by its setup program into a fresh Wine prefix, used and uninstalled; and
# the stand-ins of the release doing their real work, with no test switch.
include(ExternalProject)
set(release_dir ${CMAKE_BINARY_DIR}/release)
ExternalProject_Add(release
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${release_dir}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DQEL_RELEASE=ON
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")

string(REPLACE "/" "\\" release_windows "Z:${release_dir}")

qel_add_gtest(package_install_test ${CMAKE_CURRENT_LIST_DIR}/install_test.cpp TIMEOUT 300)
target_link_libraries(package_install_test PRIVATE qelautomation qeltestsupport ole32 uuid)
add_dependencies(package_install_test release qeldrive)
string(REPLACE "/" "\\" answers_windows "Z:${PROJECT_SOURCE_DIR}/tests/tools/sample-answers.txt")
set_property(TEST package_install_test APPEND PROPERTY ENVIRONMENT
    "QEL_RELEASE=${release_windows}" "QEL_SAMPLE_ANSWERS=${answers_windows}")

# On a virtual screen of another size and depth than every other test's,
# so that the mode it expects comes from the screen.
add_executable(package_standins_test ${CMAKE_CURRENT_LIST_DIR}/standins_test.cpp)
target_link_libraries(package_standins_test PRIVATE gtest gtest_main qelautomation qeltestsupport)
target_include_directories(package_standins_test PRIVATE
    ${PROJECT_SOURCE_DIR}/tray ${PROJECT_SOURCE_DIR}/package/qelhwa)
add_dependencies(package_standins_test release)
qel_add_test(package_standins_test package_standins_test TIMEOUT 120)
set_property(TEST package_standins_test APPEND PROPERTY ENVIRONMENT
    "QEL_RELEASE=${release_windows}" "QEL_SCREEN=800x600x16")

# What the release's programs, libraries and setup program import from
# Windows, against what the oldest supported Windows offer. No Wine needed.
add_test(NAME package_imports_test
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/imports_test.sh
                 ${CMAKE_CURRENT_LIST_DIR}/oldest-windows-imports.txt ${release_dir}/bin
                 ${release_dir}/QELSETUP.EXE)
set_tests_properties(package_imports_test PROPERTIES TIMEOUT 60)
