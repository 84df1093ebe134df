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
    ${hostile_dir}/loadentry_hostile_test.cpp
    TIMEOUT 300)
target_link_libraries(hostile_test PRIVATE qelreport qelcommon qeltray qeltestsupport qelhostile)

# The composition on real wizard pages, with this program's own string
# table standing in for the resource module's labels and messages.
qel_add_gtest(hostile_compose_test
    ${hostile_dir}/compose_hostile_test.cpp
    ${hostile_dir}/compose_hostile_test.rc
    TIMEOUT 300)
target_link_libraries(hostile_compose_test PRIVATE qelwizardtest qelautomation qelhostile)
add_dependencies(hostile_compose_test QELPRENU QELPRDEF)

# The same programs under Wine's own heap checking, which validates the
# heap on every heap call (see heapcheck.sh), and the checker's own tests:
# probes that overrun a block, free a block twice, or crash.
function(hostile_heapcheck name seconds)
    add_test(NAME ${name} COMMAND bash ${hostile_dir}/heapcheck.sh ${ARGN})
    qel_wine_test_limits(${name} ${seconds})
endfunction()
# Only the cases that run on one thread. Wine's checker reports a block
# that one thread frees while another validates the heap as damaged (the
# freeing thread fills the dead block before it takes the heap lock), so
# the two cases that change the registry on a second thread during a dump
# would cry wolf; they run in hostile_test alone.
hostile_heapcheck(hostile_test_heapcheck 120 $<TARGET_FILE:hostile_test>
                  --gtest_filter=-HostileRegistryDump.KeysVanishingDuringTheDump:HostileRegistryDump.ValuesGrowingDuringTheDump)
# Every heap call of a wizard page checks the whole heap: four minutes for
# one composition, so the checked run takes the one with every text.
hostile_heapcheck(hostile_compose_test_heapcheck 600 $<TARGET_FILE:hostile_compose_test>
                  --gtest_filter=HostileCompose.FormatDirectivesInEveryTextAndLabel)

add_executable(heapprobe ${hostile_dir}/heapprobe.cpp)
hostile_heapcheck(heapcheck_sees_overrun 120 --expect-damage $<TARGET_FILE:heapprobe> overrun)
hostile_heapcheck(heapcheck_sees_double_free 120 --expect-damage $<TARGET_FILE:heapprobe> double-free)
hostile_heapcheck(heapcheck_sees_crash 120 --expect-damage $<TARGET_FILE:heapprobe> crash)
hostile_heapcheck(heapcheck_passes_clean_probe 120 $<TARGET_FILE:heapprobe>)
# And the harness's: any test program that crashes fails at once.
add_test(NAME wine_run_fails_on_crash
         COMMAND bash ${PROJECT_SOURCE_DIR}/tests/crashcheck.sh $<TARGET_FILE:heapprobe> crash)
qel_wine_test_limits(wine_run_fails_on_crash 120)
add_executable(heaprun ${hostile_dir}/heaprun.cpp)
add_dependencies(hostile_test heaprun)
add_dependencies(heapprobe heaprun)
