# Fails when a message of the code has no translation in one of the .ts
# files: runs lupdate over the code into a copy of each file (the files in
# the repository stay as they are) and lists what it marks unfinished. A
# file whose messages are marked vanished (lupdate run without the code)
# fails too: lrelease leaves those out.
#
#   cmake -DLUPDATE=... -DSOURCES=<list file> -DTS_DIR=... -DWORK=<scratch folder>
#         -P CheckComplete.cmake
foreach(variable LUPDATE SOURCES TS_DIR WORK)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "${variable} is not set")
    endif()
endforeach()

file(GLOB translations "${TS_DIR}/quillora_*.ts")
if(NOT translations)
    message(FATAL_ERROR "no translations in ${TS_DIR}")
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(incomplete "")
foreach(ts IN LISTS translations)
    get_filename_component(name "${ts}" NAME)
    # A message the file itself marks as gone is left out of the program.
    file(STRINGS "${ts}" gone REGEX "type=\"(vanished|obsolete)\"")
    list(LENGTH gone count)
    if(count GREATER 0)
        string(APPEND incomplete "${name}: ${count} messages marked vanished or obsolete\n")
    endif()
    file(COPY_FILE "${ts}" "${WORK}/${name}")
    execute_process(
        COMMAND "${LUPDATE}" -silent -no-obsolete -locations none "@${SOURCES}" -ts "${WORK}/${name}"
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output TIMEOUT 120)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "lupdate failed on ${name} (${status}):\n${output}")
    endif()
    file(READ "${WORK}/${name}" content)
    # One list entry per <message> (semicolons and brackets in the texts,
    # which CMake lists would read, kept apart).
    string(REPLACE ";" "<semicolon>" content "${content}")
    string(REPLACE "[" "<lb>" content "${content}")
    string(REPLACE "]" "<rb>" content "${content}")
    string(REPLACE "<message" ";<message" messages "${content}")
    set(missing "")
    foreach(message IN LISTS messages)
        if(message MATCHES "type=\"unfinished\"" AND message MATCHES "<source>([^<]*)</source>")
            set(source "${CMAKE_MATCH_1}")
            string(REPLACE "<lb>" "[" source "${source}")
            string(REPLACE "<rb>" "]" source "${source}")
            string(REPLACE "<semicolon>" ";" source "${source}")
            string(APPEND missing "    ${source}\n")
        endif()
    endforeach()
    if(missing)
        string(APPEND incomplete "${name}:\n${missing}")
    endif()
endforeach()
if(incomplete)
    message(FATAL_ERROR "Messages without translation (run the update_translations target, "
        "then translate them in Translations/):\n${incomplete}")
endif()
message(STATUS "Every message is translated in ${translations}")
