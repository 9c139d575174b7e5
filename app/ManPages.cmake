# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages paramcurve(1) and paramcurve-render(1), in Czech, with the
# project's version and release date. The renderer's option list is printed by
# the built renderer from the table that also makes its --help, so page and
# program cannot disagree. Both pages are gzipped as Debian installs them.
set(PARAMCURVE_MAN_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/man)
set(PARAMCURVE_MAN_DIR ${CMAKE_CURRENT_BINARY_DIR}/man CACHE INTERNAL "Where the built manual pages are")

# Both pages stay readable where the terminal has no Czech letters.
file(READ ${PARAMCURVE_MAN_SOURCE}/AsciiFallbacks.roff PARAMCURVE_MAN_ASCII_FALLBACKS)
string(STRIP "${PARAMCURVE_MAN_ASCII_FALLBACKS}" PARAMCURVE_MAN_ASCII_FALLBACKS)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PARAMCURVE_MAN_SOURCE}/AsciiFallbacks.roff)

configure_file(${PARAMCURVE_MAN_SOURCE}/paramcurve.1.in ${PARAMCURVE_MAN_DIR}/paramcurve.1 @ONLY)
configure_file(${PARAMCURVE_MAN_SOURCE}/paramcurve-render.1.in
    ${PARAMCURVE_MAN_DIR}/paramcurve-render.1.template @ONLY)

add_custom_command(
    OUTPUT ${PARAMCURVE_MAN_DIR}/paramcurve-render.1
    COMMAND ${CMAKE_COMMAND} -DRENDERER=$<TARGET_FILE:paramcurve-render>
        -DTEMPLATE=${PARAMCURVE_MAN_DIR}/paramcurve-render.1.template
        -DOUTPUT=${PARAMCURVE_MAN_DIR}/paramcurve-render.1
        -P ${PARAMCURVE_MAN_SOURCE}/FillOptionList.cmake
    DEPENDS paramcurve-render ${PARAMCURVE_MAN_DIR}/paramcurve-render.1.template
        ${PARAMCURVE_MAN_SOURCE}/FillOptionList.cmake
    COMMENT "Writing the manual page of paramcurve-render with its option list"
    VERBATIM)

set(PARAMCURVE_MAN_PAGES)
foreach(page paramcurve.1 paramcurve-render.1)
    # -n leaves out name and time, so the same page gives the same bytes.
    add_custom_command(
        OUTPUT ${PARAMCURVE_MAN_DIR}/${page}.gz
        COMMAND gzip -9 -n -k -f ${page}
        DEPENDS ${PARAMCURVE_MAN_DIR}/${page}
        WORKING_DIRECTORY ${PARAMCURVE_MAN_DIR}
        VERBATIM)
    list(APPEND PARAMCURVE_MAN_PAGES ${PARAMCURVE_MAN_DIR}/${page}.gz)
endforeach()
add_custom_target(manpages ALL DEPENDS ${PARAMCURVE_MAN_PAGES})
