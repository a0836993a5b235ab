# Test registration: one executable per test file group, one line per test.
#
#   ko_add_test(NAME name SOURCES a.cpp ... LIBRARIES lib ... [GUI]
#               [ENVIRONMENT VAR=value ...])
#
# GUI tests get a main that creates a QApplication and run headless.
# ENVIRONMENT adds variables to each case's environment.
#
# Every GoogleTest case becomes its own ctest test. Under the cross-compiling
# emulator the cases are listed when ctest starts rather than at build time,
# and carry the prefix "wine/" so that a run shows what executed under Wine.

if(CMAKE_CROSSCOMPILING)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    set(KO_GTEST_MAIN gtest_main)
    set(KO_DISCOVERY PRE_TEST)
    set(KO_TEST_PREFIX wine/)
else()
    find_package(GTest REQUIRED)
    set(KO_GTEST_MAIN GTest::gtest_main)
    set(KO_DISCOVERY POST_BUILD)
    set(KO_TEST_PREFIX "")
endif()
include(GoogleTest)

function(ko_add_test)
    cmake_parse_arguments(ARG "GUI" "NAME" "SOURCES;LIBRARIES;ENVIRONMENT" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    set(test_env ${ARG_ENVIRONMENT})
    if(ARG_GUI)
        # A main that creates the QApplication (tests/support/GuiTestMain.cpp).
        target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBRARIES} ko_gui_test_main)
        list(APPEND test_env QT_QPA_PLATFORM=offscreen)
    else()
        target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBRARIES} ${KO_GTEST_MAIN})
    endif()
    # The first Wine start creates the prefix, which takes a while.
    gtest_discover_tests(${ARG_NAME}
        DISCOVERY_MODE ${KO_DISCOVERY} DISCOVERY_TIMEOUT 300 TEST_PREFIX "${KO_TEST_PREFIX}"
        PROPERTIES ENVIRONMENT "${test_env}" TIMEOUT 120)
endfunction()
