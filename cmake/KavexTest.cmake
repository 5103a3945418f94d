# One CTest executable per test file.
#   kavex_gtest(NAME test_x SOURCES a.cpp LIBS kavexcore)   GoogleTest, no widgets
#   kavex_gtest(... ARGS --gtest_filter=...)                 the same with arguments
#   kavex_qtest(NAME test_y SOURCES b.cpp LIBS kavexgui)    QtTest, run offscreen
function(kavex_gtest)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;ARGS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} kavex_testmock kavex_gtest_main kavex_options)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} ${T_ARGS})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KAVEX_BIN_DIR=${CMAKE_BINARY_DIR}/bin;KAVEX_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()

function(kavex_qtest)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} kavex_testmock Qt6::Test kavex_options)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KAVEX_BIN_DIR=${CMAKE_BINARY_DIR}/bin;KAVEX_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
