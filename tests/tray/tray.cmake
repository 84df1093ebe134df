# Unit tests of the tray utility's pieces, in this process with a private
# HKEY_LOCAL_MACHINE; and end-to-end tests that drive the real QelIcon.exe.
add_library(qeltraytesthooks STATIC hooks.cpp menutext.cpp)
target_include_directories(qeltraytesthooks PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(qeltraytesthooks PUBLIC qelcommon)

qel_add_gtest(tray_test icon_test.cpp menu_test.cpp apply_test.cpp hotkey_test.cpp
              scheme_test.cpp TIMEOUT 120)
target_link_libraries(tray_test PRIVATE qeltray qeltraytesthooks qeltestsupport)
add_dependencies(tray_test QELICENU QELICDEF)

add_library(trayprobe SHARED probe.cpp menutext.cpp)
target_include_directories(trayprobe PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
set_target_properties(trayprobe PROPERTIES PREFIX "")
target_link_options(trayprobe PRIVATE -Wl,--kill-at)
target_link_libraries(trayprobe PRIVATE comctl32)

add_executable(traypost traypost.cpp)

qel_add_gtest(tray_e2e_test e2e_test.cpp hotkey_program_test.cpp TIMEOUT 300)
target_link_libraries(tray_e2e_test PRIVATE qeltray qeltraytesthooks qeltestsupport)
add_dependencies(tray_e2e_test QelIcon qelhk32 trayprobe QELICENU QELICDEF)
