# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, made from this build by `cpack -G DEB` (see package.sh):
# paramcurve_<version>_amd64.deb with both programs, their desktop data, the
# manual pages, the copyright and the changelog.
include(GNUInstallDirs)

set(PARAMCURVE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(PARAMCURVE_MAINTAINER "paramcurve maintainers <maintainers@users.noreply.c-seed-3712e74e.example>"
    CACHE STRING "The package's Maintainer field")

# The changelog's newest entry must be this version, released on
# PARAMCURVE_RELEASE_DATE; Debian keys the package's history to it.
file(STRINGS ${PARAMCURVE_PACKAGING_DIR}/changelog changelog)
list(GET changelog 0 newest)
if(NOT newest MATCHES "^paramcurve \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog: the newest entry is not version ${PROJECT_VERSION}: ${newest}")
endif()
foreach(line IN LISTS changelog)
    if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
        set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
        list(FIND months ${CMAKE_MATCH_2} month)
        math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
        string(LENGTH "${month}" digits)
        if(digits EQUAL 1)
            set(month 0${month})
        endif()
        set(entry_date ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1})
        if(NOT entry_date STREQUAL PARAMCURVE_RELEASE_DATE)
            message(FATAL_ERROR "packaging/changelog: the newest entry is dated ${entry_date}, "
                "the release ${PARAMCURVE_RELEASE_DATE}")
        endif()
        break()
    endif()
endforeach()

# Debian keeps a package's changelog gzipped, its copyright plain.
configure_file(${PARAMCURVE_PACKAGING_DIR}/changelog ${CMAKE_BINARY_DIR}/packaging/changelog COPYONLY)
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND gzip -9 -n -k -f changelog
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/packaging
    VERBATIM)
add_custom_target(changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${PARAMCURVE_PACKAGING_DIR}/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${PARAMCURVE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PARAMCURVE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

# The libraries the programs link come from dpkg-shlibdeps. Loaded at run time
# without being linked: Liberation Sans, whose widths fit the control panel,
# DejaVu Sans, the face of the axis labels, and Qt's Czech translations for
# its dialogs. The platform plugins xcb and offscreen and the PNG support are
# part of libqt6gui6, which the programs link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, qt6-translations-l10n")

set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "parametric curve plotter for teaching / kreslení parametrických křivek")
# CPack puts the summary before this as the description's first line.
file(READ ${PARAMCURVE_PACKAGING_DIR}/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)

include(CPack)
