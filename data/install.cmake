# Desktop integration, every file named after the application id: the launcher entry, the
# AppStream metainfo and the scalable application icon.
include(GNUInstallDirs)

set(MORVELA_DATA_DIR ${CMAKE_CURRENT_LIST_DIR})
install(FILES ${MORVELA_DATA_DIR}/${MORVELA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MORVELA_DATA_DIR}/${MORVELA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${MORVELA_DATA_DIR}/${MORVELA_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual page and the package's own documents (copyright and changelog, as Debian keeps
# them); the compressed ones are made reproducibly (gzip -n: no name, no time stamp).
set(MORVELA_COMPRESSED_DOCS)
foreach(pair "morvela-calculator.1|morvela-calculator.1.gz" "debian/changelog|changelog.gz")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 compressed)
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${compressed}
        COMMAND sh -c "gzip -9nc '${MORVELA_DATA_DIR}/${source}' > '${CMAKE_CURRENT_BINARY_DIR}/${compressed}'"
        DEPENDS ${MORVELA_DATA_DIR}/${source} VERBATIM)
    list(APPEND MORVELA_COMPRESSED_DOCS ${CMAKE_CURRENT_BINARY_DIR}/${compressed})
endforeach()
add_custom_target(morvela_docs ALL DEPENDS ${MORVELA_COMPRESSED_DOCS})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/morvela-calculator.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${MORVELA_DATA_DIR}/debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/morvela-calculator)
