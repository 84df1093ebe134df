# Automation of the wizard from outside: the library the end-to-end tests
# use (with the Windows versions they run the programs as), qeldrive.exe
# that answers the wizard from a script, and the viewer stand-in that the
# tests copy as notepad.exe beside the wizard.
add_library(qelautomation STATIC ${CMAKE_CURRENT_LIST_DIR}/automation.cpp
            ${CMAKE_CURRENT_LIST_DIR}/windows_version.cpp)
target_include_directories(qelautomation PUBLIC ${CMAKE_CURRENT_LIST_DIR})

add_executable(qeldrive ${CMAKE_CURRENT_LIST_DIR}/qeldrive.cpp)
target_link_libraries(qeldrive PRIVATE qelautomation)

add_executable(qelviewrec WIN32 ${CMAKE_CURRENT_LIST_DIR}/viewer_recorder.cpp)

# Works the setup program's pages for their pictures (scripts/pictures.sh).
add_executable(setupdrive ${CMAKE_CURRENT_LIST_DIR}/setupdrive.cpp)

# The headless run of scripts/run.sh: the sample answers carry the real
# wizard through all ten pages to a written report.
string(REPLACE "/" "\\" qelpr_windows "Z:${CMAKE_BINARY_DIR}/bin/QELPR.EXE")
string(REPLACE "/" "\\" sample_windows "Z:${CMAKE_CURRENT_LIST_DIR}/sample-answers.txt")
qel_add_test(wizard_sample_run qeldrive ${qelpr_windows} ${sample_windows} TIMEOUT 120)
