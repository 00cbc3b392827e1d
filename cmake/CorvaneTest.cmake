# corvane_add_test(<name> <sources>...): one GoogleTest executable per area.
# Natively every test case becomes a CTest test; in the Windows build each executable is one
# CTest test run under Wine (one Wine start per executable instead of one per case).
include(GoogleTest)

function(corvane_add_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE corvane_test_support corvane_warnings GTest::gtest
                                          GTest::gtest_main)
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES TIMEOUT 120)
    else()
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 60)
    endif()
endfunction()
