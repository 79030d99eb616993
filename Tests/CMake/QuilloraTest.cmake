# quillora_add_test(<name> <kind> [COMMAND <command...>] [SOURCES <files...>]
#                   [LIBRARIES <targets...>] [SESSION_BUS] [TIMEOUT <seconds>])
#
# Adds one test with its kind as its label, so `ctest -L <kind>` runs one kind:
#   unit             pure logic and local parts (files, SQLite); fast
#   network          a client against its own server on 127.0.0.1
#   screen           the window's screens in an offscreen window
#   end-to-end       the program or real peers (Icecast, libmpv, a session bus)
#   benchmark-check  the benchmarks' own parts, not their figures
#
# Without COMMAND, builds the Qt Test program <name> from <name>.cpp in the
# current folder (plus SOURCES), linked to LIBRARIES and Qt Test. The test is
# named ${QUILLORA_TEST_PREFIX}<name> and runs with ${QUILLORA_TEST_ENVIRONMENT},
# within TIMEOUT, else ${QUILLORA_TEST_TIMEOUT}, else 120 seconds; the folder
# that adds the tests sets these. SESSION_BUS runs it on a private D-Bus
# session bus.
set(QUILLORA_TEST_KINDS unit network screen end-to-end benchmark-check)

function(quillora_add_test name kind)
    cmake_parse_arguments(PARSE_ARGV 2 arg "SESSION_BUS" "TIMEOUT" "COMMAND;SOURCES;LIBRARIES")
    if(NOT kind IN_LIST QUILLORA_TEST_KINDS)
        message(FATAL_ERROR "Test ${name}: kind '${kind}' is not one of ${QUILLORA_TEST_KINDS}")
    endif()
    set(test ${QUILLORA_TEST_PREFIX}${name})
    if(arg_COMMAND)
        add_test(NAME ${test} COMMAND ${arg_COMMAND})
    else()
        add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp ${arg_SOURCES})
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
        target_compile_definitions(${name} PRIVATE
            QUILLORA_TEST_SUPPORT_DIR="${PROJECT_SOURCE_DIR}/Tests/Support")
        target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/Tests ${QUILLORA_TEST_INCLUDES})
        target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} Qt6::Test)
        if(arg_SESSION_BUS)
            add_test(NAME ${test} COMMAND dbus-run-session
                --config-file=${PROJECT_SOURCE_DIR}/Tests/Support/session-bus.conf -- $<TARGET_FILE:${name}>)
        else()
            add_test(NAME ${test} COMMAND ${name})
        endif()
    endif()
    if(NOT arg_TIMEOUT)
        set(arg_TIMEOUT ${QUILLORA_TEST_TIMEOUT})
    endif()
    if(NOT arg_TIMEOUT)
        set(arg_TIMEOUT 120)
    endif()
    set_tests_properties(${test} PROPERTIES LABELS ${kind} TIMEOUT ${arg_TIMEOUT})
    if(QUILLORA_TEST_ENVIRONMENT)
        set_tests_properties(${test} PROPERTIES ENVIRONMENT "${QUILLORA_TEST_ENVIRONMENT}")
    endif()
endfunction()
