# ketrova_add_test(NAME SOURCES ... [LIBRARIES ...] [GUI] [TIMEOUT s])
# One GoogleTest executable; its cases are registered with CTest one by one.
# On the Windows build they run through Wine (the toolchain's emulator).
# GUI tests open windows or move the mouse, so they take the display one at a time.
include(GoogleTest)

macro(ketrova_use_gtest)
    if(NOT TARGET GTest::gtest_main)
        if(WIN32)
            set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
            set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
            set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
            add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
        else()
            find_package(GTest REQUIRED)
        endif()
    endif()
endmacro()

function(ketrova_add_test name)
    cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
    ketrova_use_gtest()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBRARIES} GTest::gtest_main)
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    set(props TIMEOUT ${T_TIMEOUT})
    if(T_GUI)
        list(APPEND props RESOURCE_LOCK display)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        PROPERTIES ${props})
endfunction()
