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

# GUI test programs are small next to the GoogleTest and Qt headers they
# include, so they share a precompiled header, one per directory: the Qt test
# library's definitions name the directory, and a precompiled header is only
# valid for the definitions it was made with. A test whose definitions differ
# where the headers look (another Qt module's, for one) fails to build rather
# than quietly parsing the headers again.
function(ko_reuse_gui_test_pch target)
    file(RELATIVE_PATH directory ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    string(MAKE_C_IDENTIFIER "${directory}" directory)
    set(pch ko_gui_test_pch_${directory})
    if(NOT TARGET ${pch})
        set(anchor ${CMAKE_CURRENT_BINARY_DIR}/${pch}.cpp)
        file(CONFIGURE OUTPUT ${anchor} CONTENT "")
        add_library(${pch} OBJECT ${anchor})
        target_link_libraries(${pch} PRIVATE Qt6::Widgets Qt6::Test GTest::gtest)
        target_precompile_headers(${pch} PRIVATE <gtest/gtest.h> <QApplication> <QLabel>
            <QPointer> <QSignalSpy> <QTest> <QWidget> <string> <vector>)
    endif()
    target_precompile_headers(${target} REUSE_FROM ${pch})
    target_compile_options(${target} PRIVATE -Werror=invalid-pch)
endfunction()

function(ko_add_test)
    cmake_parse_arguments(ARG "GUI" "NAME" "SOURCES;LIBRARIES;ENVIRONMENT" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    set(test_env ${ARG_ENVIRONMENT})
    if(ARG_GUI)
        # A main that creates the QApplication (tests/support/GuiTestMain.cpp).
        target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBRARIES} ko_gui_test_main)
        list(APPEND test_env QT_QPA_PLATFORM=offscreen)
        ko_reuse_gui_test_pch(${ARG_NAME})
    else()
        target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBRARIES} ${KO_GTEST_MAIN})
    endif()
    # The first Wine start creates the prefix, which takes a while.
    gtest_discover_tests(${ARG_NAME}
        DISCOVERY_MODE ${KO_DISCOVERY} DISCOVERY_TIMEOUT 300 TEST_PREFIX "${KO_TEST_PREFIX}"
        PROPERTIES ENVIRONMENT "${test_env}" TIMEOUT 120)
endfunction()
