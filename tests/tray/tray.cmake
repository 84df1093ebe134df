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

# The end-to-end tests as each Windows version: every version shows the
# icon, its tooltip and menu, and applies a display setting and a colour
# scheme.
add_executable(tray_e2e_test e2e_test.cpp hotkey_program_test.cpp)
target_link_libraries(tray_e2e_test PRIVATE gtest gtest_main qeltray qeltraytesthooks
                      qeltestsupport qelautomation)
qel_add_version_matrix(tray_e2e tray_e2e_test PROGRAMS QelIcon.exe qelhk32.exe
    FILTER "TrayEndToEnd.RunsAs*:TrayEndToEnd.RunsOnce*:TrayEndToEnd.Tooltip*:TrayEndToEnd.Menu*:TrayEndToEnd.ChosenSettingRegisters*:TrayEndToEnd.ChosenScheme*"
    TIMEOUT 300)
add_dependencies(tray_e2e_test QelIcon qelhk32 trayprobe QELICENU QELICDEF)
