# ketrova_add_test(NAME SOURCES ... [LIBRARIES ...] [GUI] [TIMEOUT s])
# One GoogleTest executable. On the host its cases are registered with CTest
# one by one; on the Windows build the executable runs whole through Wine
# (the toolchain's emulator).
# GUI tests open windows or move the mouse, so they take the display one at a time.
# KETROVA_EXTRA_TEST_PROPERTIES, when set, go to every test (environment, fixtures);
# the test's own time limit wins over theirs.
include(GoogleTest)

# Where 32-bit programs run only emulated, every Windows test may take this
# many times longer; the end-to-end suites stretch their own waits alike.
set(KETROVA_TIME_SCALE 1 CACHE STRING "Factor for the tests' time limits (emulated 32-bit programs)")
function(ketrova_scaled_timeout out seconds)
    math(EXPR scaled "${seconds} * ${KETROVA_TIME_SCALE}")
    set(${out} ${scaled} PARENT_SCOPE)
endfunction()

macro(ketrova_use_gtest)
    if(NOT TARGET GTest::gtest_main)
        if(WIN32)
            set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
            set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
            set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
            add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
            # A third-party library: built with its own flags, not the project's warnings.
            set_property(TARGET gtest gtest_main PROPERTY COMPILE_OPTIONS "")
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
        # Under Wine every case of an executable runs in one process.
        if(WIN32)
            set(T_TIMEOUT 600)
        else()
            set(T_TIMEOUT 120)
        endif()
    endif()
    ketrova_scaled_timeout(T_TIMEOUT ${T_TIMEOUT})
    set(props TIMEOUT ${T_TIMEOUT})
    if(T_GUI)
        list(APPEND props RESOURCE_LOCK display)
    endif()
    if(WIN32)
        # Under Wine each process start and each window torn down costs
        # seconds: the cases of one executable run together, as one test.
        add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
        set_tests_properties(${name} PROPERTIES ${KETROVA_EXTRA_TEST_PROPERTIES} ${props})
    else()
        gtest_discover_tests(${name}
            DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
            WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
            PROPERTIES ${props})
    endif()
endfunction()
