# Installs the build tree into PREFIX and checks what a desktop needs to
# list, show and start the player: the binary the launcher runs, the icon it
# names, the launcher the metainfo names, and a release entry for this
# version. Prints the installed files.
#
#   cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -DVERSION=...
#         -DBINDIR=bin -DDATADIR=share -P CheckInstall.cmake
foreach(variable BUILD_DIR PREFIX APP_ID VERSION BINDIR DATADIR)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "${variable} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${status}):\n${output}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
list(JOIN installed "\n  " listing)
message(STATUS "Installed into ${PREFIX}:\n  ${listing}")

set(desktop "${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop")
set(icon "${PREFIX}/${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg")
set(metainfo "${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml")
set(binary "${PREFIX}/${BINDIR}/quillora")
foreach(file IN ITEMS "${binary}" "${desktop}" "${icon}" "${metainfo}")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
# The installed binary runs on its own (no build-tree library paths). It
# makes its GUI application before reading options, so give it a platform
# that needs no display.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen "${binary}" --version
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output TIMEOUT 30)
if(NOT status EQUAL 0 OR NOT output MATCHES "quillora ${VERSION}")
    message(FATAL_ERROR "the installed binary does not run (${status}): ${output}")
endif()

# The launcher runs the installed binary and names the installed icon.
file(STRINGS "${desktop}" exec_lines REGEX "^Exec=")
file(STRINGS "${desktop}" icon_lines REGEX "^Icon=")
if(NOT exec_lines MATCHES "^Exec=quillora( |$)")
    message(FATAL_ERROR "the launcher does not run quillora: ${exec_lines}")
endif()
if(NOT icon_lines STREQUAL "Icon=${APP_ID}")
    message(FATAL_ERROR "the launcher names another icon: ${icon_lines}")
endif()

# The software centre finds the launcher by the metainfo's id, and shows
# this version.
file(READ "${metainfo}" metadata)
if(NOT metadata MATCHES "<id>${APP_ID}</id>")
    message(FATAL_ERROR "metainfo id is not ${APP_ID}")
endif()
if(NOT metadata MATCHES "<launchable type=\"desktop-id\">${APP_ID}\\.desktop</launchable>")
    message(FATAL_ERROR "metainfo does not launch ${APP_ID}.desktop")
endif()
string(REGEX MATCH "<release version=\"([^\"]*)\"" newest "${metadata}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    message(FATAL_ERROR "newest release in the metainfo is '${CMAKE_MATCH_1}', the project is ${VERSION}")
endif()

# The icon is well-formed SVG: a broken one shows as a blank tile.
execute_process(
    COMMAND python3 -c "import sys, xml.etree.ElementTree as T; root = T.parse(sys.argv[1]).getroot(); sys.exit(root.tag != '{http://www.w3.org/2000/svg}svg')" "${icon}"
    RESULT_VARIABLE status ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the icon is not an SVG document: ${output}")
endif()
