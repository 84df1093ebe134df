# Hostile input: every section writer and helper against names, data,
# files and paths at and past their limits, format directives in every
# text, and keys that change during the dump.
set(hostile_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(qelhostile STATIC ${hostile_dir}/hostile.cpp)
target_include_directories(qelhostile PUBLIC ${hostile_dir})

qel_add_gtest(hostile_test
    ${hostile_dir}/regdump_hostile_test.cpp
    ${hostile_dir}/textdump_hostile_test.cpp
    ${hostile_dir}/helpfile_hostile_test.cpp
    ${hostile_dir}/loadentry_hostile_test.cpp)
target_link_libraries(hostile_test PRIVATE qelreport qelcommon qeltray qeltestsupport qelhostile)

# The composition on real wizard pages, with this program's own string
# table standing in for the resource module's labels and messages.
qel_add_gtest(hostile_compose_test
    ${hostile_dir}/compose_hostile_test.cpp
    ${hostile_dir}/compose_hostile_test.rc)
target_link_libraries(hostile_compose_test PRIVATE qelwizardtest qelautomation qelhostile)
add_dependencies(hostile_compose_test QELPRENU QELPRDEF)
