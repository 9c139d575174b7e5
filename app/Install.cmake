# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where: both programs, the desktop entry, the
# icon, the AppStream metainfo, the lesson's file type and the manual pages,
# in the places desktops and man look for them.
include(GNUInstallDirs)

install(TARGETS paramcurve paramcurve-render
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(PARAMCURVE_APP_ID cz.paramcurve.paramcurve)
set(PARAMCURVE_DESKTOP_DIR ${CMAKE_CURRENT_LIST_DIR}/desktop)

# The metainfo's release entry carries the project's version and date.
configure_file(${PARAMCURVE_DESKTOP_DIR}/${PARAMCURVE_APP_ID}.metainfo.xml.in
    ${CMAKE_CURRENT_BINARY_DIR}/${PARAMCURVE_APP_ID}.metainfo.xml @ONLY)

install(FILES ${PARAMCURVE_DESKTOP_DIR}/${PARAMCURVE_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PARAMCURVE_DESKTOP_DIR}/${PARAMCURVE_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${PARAMCURVE_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The lesson's file type; the package manager's trigger updates the MIME
# database from it.
install(FILES ${PARAMCURVE_DESKTOP_DIR}/${PARAMCURVE_APP_ID}.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# The pages are Czech; they are also the default pages, since for these users
# a Czech page is better than none.
foreach(dir ${CMAKE_INSTALL_MANDIR}/cs/man1 ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${PARAMCURVE_MAN_PAGES} DESTINATION ${dir})
endforeach()
