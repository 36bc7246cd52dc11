# Desktop integration, every file named after the application id: the launcher entry, the
# AppStream metainfo and the scalable application icon.
include(GNUInstallDirs)

set(MORVELA_DATA_DIR ${CMAKE_CURRENT_LIST_DIR})
install(FILES ${MORVELA_DATA_DIR}/${MORVELA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MORVELA_DATA_DIR}/${MORVELA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${MORVELA_DATA_DIR}/${MORVELA_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
