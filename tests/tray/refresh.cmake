# The tooltip refresh over hours of the tray utility's run, in this process
# with the utility's own icons.
qel_add_gtest(tray_refresh_test refresh_test.cpp ${PROJECT_SOURCE_DIR}/tray/QelIcon.rc TIMEOUT 120)
target_link_libraries(tray_refresh_test PRIVATE qeltray psapi)
