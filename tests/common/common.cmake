# Shared code: locale module fallbacks, help file lookup, driver key; and
# the contents of every resource module.
add_library(qelcommontestfixture STATIC fixture.cpp)
target_link_libraries(qelcommontestfixture PUBLIC gtest)

qel_add_gtest(common_test resmodule_test.cpp helpfile_test.cpp driverkey_test.cpp TIMEOUT 120)
target_link_libraries(common_test PRIVATE qelcommon qelcommontestfixture qeltestsupport)
add_dependencies(common_test QELPRENU QELPRDEU QELPRDEF QELICENU QELICDEU QELICDEF)

# The same program for a German user: the German modules, and every
# fallback built from "DEU" and "DE".
qel_add_test(common_test_german common_test TIMEOUT 120)
set_property(TEST common_test_german APPEND PROPERTY ENVIRONMENT
    "LC_ALL=de_DE.UTF-8" "QEL_EXPECT_LANGUAGE=DEU")

qel_add_gtest(common_modules_test modules_test.cpp TIMEOUT 120)
target_include_directories(common_modules_test PRIVATE ${PROJECT_SOURCE_DIR}/locale)
add_dependencies(common_modules_test QELPRENU QELPRDEU QELPRDEF QELICENU QELICDEU QELICDEF)

# Not a test: shows the page templates of a module for a look at the layouts.
add_executable(pagepreview WIN32 pagepreview.cpp)
target_include_directories(pagepreview PRIVATE ${PROJECT_SOURCE_DIR}/locale)
target_link_libraries(pagepreview PRIVATE comctl32)
add_dependencies(pagepreview QELPRENU QELPRDEU QELPRDEF)

# The help files: what they hold, and how the platform's viewer shows them.
qel_add_gtest(common_helpformat_test helpformat_test.cpp TIMEOUT 120)
target_link_libraries(common_helpformat_test PRIVATE qeltestsupport)
add_dependencies(common_helpformat_test qelhelp)

qel_add_gtest(common_helpview_test helpview_test.cpp TIMEOUT 120)
target_link_libraries(common_helpview_test PRIVATE qeltestsupport)
add_dependencies(common_helpview_test qelhelp)
