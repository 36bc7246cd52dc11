# Installs the build into a fresh prefix and checks that the desktop integration lands in its
# standard places and that its files agree on the application id, binary and version.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -DVERSION=... -P check_install.cmake

function(fail message)
    message(FATAL_ERROR "${message}")
endfunction()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    fail("cmake --install failed:\n${output}")
endif()

set(binary ${PREFIX}/bin/morvela-calculator)
set(desktop ${PREFIX}/share/applications/${APP_ID}.desktop)
set(metainfo ${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml)
set(icon ${PREFIX}/share/icons/hicolor/scalable/apps/${APP_ID}.svg)
foreach(path ${binary} ${desktop} ${metainfo} ${icon})
    if(NOT EXISTS ${path})
        fail("not installed: ${path}")
    endif()
endforeach()

file(STRINGS ${desktop} icon_line REGEX "^Icon=")
if(NOT icon_line STREQUAL "Icon=${APP_ID}")
    fail("the desktop file names the icon '${icon_line}', not the application id ${APP_ID}")
endif()
file(STRINGS ${desktop} exec_line REGEX "^Exec=")
string(REGEX REPLACE "^Exec=([^ ]+).*" "\\1" exec_name "${exec_line}")
if(NOT EXISTS ${PREFIX}/bin/${exec_name})
    fail("the desktop file runs '${exec_name}', which is not installed in bin/")
endif()

file(READ ${metainfo} xml)
foreach(expected "<id>${APP_ID}</id>" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
        "<binary>${exec_name}</binary>")
    string(FIND "${xml}" "${expected}" at)
    if(at EQUAL -1)
        fail("the metainfo lacks ${expected}")
    endif()
endforeach()
# The newest release comes first and must be the version being built.
string(REGEX MATCH "<release version=\"([^\"]+)\"" release "${xml}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    fail("the metainfo's newest release is '${CMAKE_MATCH_1}', the project version is ${VERSION}")
endif()

# With the whole tree in place: launchable found, metainfo valid.
execute_process(COMMAND appstreamcli validate-tree --no-net ${PREFIX}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    fail("appstreamcli validate-tree failed:\n${output}")
endif()
message(STATUS "installed into ${PREFIX}: ${binary}, ${desktop}, ${metainfo}, ${icon}")
file(REMOVE_RECURSE ${PREFIX})
