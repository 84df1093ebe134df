# Files looked for by bare name from a deep program folder. The program
# lies beside the display test's fixtures, of which it copies one.
qel_add_gtest(report_deepfolder_test deepfolder_test.cpp TIMEOUT 120)
target_link_libraries(report_deepfolder_test PRIVATE qelreport qeltestsupport qelautomation)
set_target_properties(report_deepfolder_test PROPERTIES
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/display)
add_dependencies(report_deepfolder_test ver1234)
