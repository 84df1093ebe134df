# QELPR.EXE /report FILE after a real wizard run, and its command line.
qel_add_gtest(wizard_cli_test ${CMAKE_CURRENT_LIST_DIR}/cli_test.cpp TIMEOUT 300)
target_link_libraries(wizard_cli_test PRIVATE qelwizardtest qelautomation)
add_dependencies(wizard_cli_test QELPR qelviewrec QELPRENU QELPRDEU QELPRDEF)
