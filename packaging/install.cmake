# What `cmake --install` puts on a desktop: the program, its desktop entry, its
# icon and its AppStream metadata, all named after TAMCAL_APP_ID. The program
# knows an installed copy by the desktop entry beside its bin/ folder and keeps
# its data in the user's data folder then.
include(GNUInstallDirs)

install(TARGETS tamcal RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/${TAMCAL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${TAMCAL_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/${TAMCAL_APP_ID}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/${TAMCAL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
