# Version information for every shipped binary. The version itself is the
# project's (project() in the top CMakeLists.txt): the one place to change.
set(QEL_COMPANY "QEL Display Systems")
set(QEL_PRODUCT "QEL Display Driver Support Tools")
set(QEL_COPYRIGHT_YEARS "2026")
string(REPLACE "." "," QEL_VERSION_COMMAS "${PROJECT_VERSION}")

# qel_version_info(TARGET FILE DESCRIPTION [LANGUAGE hex-langid]): gives
# TARGET, whose file is FILE (e.g. QELPR.EXE), a VERSIONINFO resource.
# LANGUAGE is the language of a resource module (default 0409, US English).
function(qel_version_info target file description)
    cmake_parse_arguments(PARSE_ARGV 3 arg "" "LANGUAGE" "")
    set(QEL_VERSION_FILE ${file})
    set(QEL_VERSION_DESCRIPTION ${description})
    get_filename_component(QEL_VERSION_INTERNAL ${file} NAME_WE)
    set(QEL_VERSION_LANGUAGE 0409)
    if(arg_LANGUAGE)
        set(QEL_VERSION_LANGUAGE ${arg_LANGUAGE})
    endif()
    set(QEL_VERSION_BLOCK ${QEL_VERSION_LANGUAGE}04E4)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        set(QEL_VERSION_TYPE VFT_APP)
    else()
        set(QEL_VERSION_TYPE VFT_DLL)
    endif()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.version.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()
