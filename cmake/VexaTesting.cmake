# vexa_add_test(NAME target [SESSION_BUS])
#
# Registers one test program with CTest. Every test runs through
# tests/isolated, which gives it a private XDG_CONFIG_HOME and XDG_RUNTIME_DIR
# so that tests running side by side never share a settings file or a
# presence marker. SESSION_BUS additionally gives the test a D-Bus session bus
# of its own, since the server's bus name is fixed.
function(vexa_add_test name target)
    cmake_parse_arguments(ARG "SESSION_BUS" "" "" ${ARGN})
    set(command "${PROJECT_SOURCE_DIR}/tests/isolated")
    if(ARG_SESSION_BUS)
        list(APPEND command --session-bus)
    endif()
    add_test(NAME ${name} COMMAND ${command} $<TARGET_FILE:${target}>)
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        TIMEOUT 600)
endfunction()
