# Automation of the wizard from outside: the library the end-to-end tests
# use, qeldrive.exe that answers the wizard from a script, and the viewer
# stand-in that the tests copy as notepad.exe beside the wizard.
add_library(qelautomation STATIC ${CMAKE_CURRENT_LIST_DIR}/automation.cpp)
target_include_directories(qelautomation PUBLIC ${CMAKE_CURRENT_LIST_DIR})

add_executable(qeldrive ${CMAKE_CURRENT_LIST_DIR}/qeldrive.cpp)
target_link_libraries(qeldrive PRIVATE qelautomation)

add_executable(qelviewrec WIN32 ${CMAKE_CURRENT_LIST_DIR}/viewer_recorder.cpp)
