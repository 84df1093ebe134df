# Unit tests of the field store and the report composition on real wizard
# pages in the test's own process; end-to-end tests that run QELPR.EXE and
# drive it from outside as a user would.
add_library(qelwizardtest STATIC ${CMAKE_CURRENT_LIST_DIR}/sheet.cpp
            ${CMAKE_CURRENT_LIST_DIR}/reportcheck.cpp)
target_include_directories(qelwizardtest PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(qelwizardtest PUBLIC qelwizard qeltestsupport comctl32)

qel_add_gtest(wizard_fields_test ${CMAKE_CURRENT_LIST_DIR}/fields_test.cpp TIMEOUT 300)
target_link_libraries(wizard_fields_test PRIVATE qelwizardtest)
add_dependencies(wizard_fields_test QELPRENU QELPRDEU QELPRDEF)

qel_add_gtest(wizard_compose_test ${CMAKE_CURRENT_LIST_DIR}/compose_test.cpp
              ${CMAKE_CURRENT_LIST_DIR}/compose_test.rc TIMEOUT 300)
target_link_libraries(wizard_compose_test PRIVATE qelwizardtest qelautomation)
add_dependencies(wizard_compose_test QELPRENU QELPRDEF)

# The end-to-end tests as each Windows version: every version takes the
# wizard through all ten pages to a report.
add_executable(wizard_e2e_test ${CMAKE_CURRENT_LIST_DIR}/e2e_test.cpp)
target_link_libraries(wizard_e2e_test PRIVATE gtest gtest_main qelwizardtest qelautomation)
qel_add_version_matrix(wizard_e2e wizard_e2e_test PROGRAMS QELPR.EXE
    FILTER WizardEndToEnd.FullRunWritesTheReportRemembersTheAnswersAndOpensIt TIMEOUT 300)
add_dependencies(wizard_e2e_test QELPR qelviewrec QELPRENU QELPRDEU QELPRDEF)
