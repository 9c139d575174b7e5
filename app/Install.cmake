# What `cmake --install` puts where: both programs, the desktop entry, the
# icon and the AppStream metainfo, in the places desktops look for them.
include(GNUInstallDirs)

install(TARGETS paramcurve paramcurve-render
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(PARAMCURVE_APP_ID cz.paramcurve.paramcurve)
set(PARAMCURVE_DESKTOP_DIR ${CMAKE_CURRENT_LIST_DIR}/desktop)

install(FILES ${PARAMCURVE_DESKTOP_DIR}/${PARAMCURVE_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PARAMCURVE_DESKTOP_DIR}/${PARAMCURVE_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PARAMCURVE_DESKTOP_DIR}/${PARAMCURVE_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
