# The installation beyond the programs, their helpers and their resources
# (which their own folders install; helper programs go to
# PIPECALC_INSTALL_HELPERDIR, where ResourceLocator::helperExecutable() finds
# them): the desktop entry, the AppStream metainfo, the file type of the
# projects, the icons, the manual pages, the copyright notice and the
# changelog; and the Debian package that CPack makes of it all ("cpack -G
# DEB" in the build folder, or scripts/package).

set(PIPECALC_APP_ID org.pipecalc.pipecalc)

# Compresses SOURCE into OUTPUT (in the build folder) as Debian keeps manual
# pages and changelogs, and adds OUTPUT to PIPECALC_COMPRESSED_FILES.
set(PIPECALC_COMPRESSED_FILES)
function(pipecalc_compress source output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${source} -DOUTPUT=${output} -P ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
    DEPENDS ${source} ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
    COMMENT "Compressing ${source}"
    VERBATIM)
  set(PIPECALC_COMPRESSED_FILES ${PIPECALC_COMPRESSED_FILES} ${output} PARENT_SCOPE)
endfunction()

# Desktop entry and AppStream metainfo.
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/${PIPECALC_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${CMAKE_SOURCE_DIR}/resources/desktop/${PIPECALC_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/desktop/${PIPECALC_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/desktop/${PIPECALC_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The file type of the projects (*.pipecalc, application/x-pipecalc-project),
# which the desktop entry opens.
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/${PIPECALC_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# Icons for the hicolor theme.  The PNG sizes are drawn from the SVG with
# "rsvg-convert -w N -h N pipecalc.svg -o png/pipecalc-N.png".
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/pipecalc.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${PIPECALC_APP_ID}.svg)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/png/pipecalc-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${PIPECALC_APP_ID}.png)
endforeach()

# Manual pages: English, and Russian for a Russian locale.
foreach(page pipecalc.1 pipecalc-cli.1)
  pipecalc_compress(${CMAKE_SOURCE_DIR}/resources/man/${page} ${CMAKE_BINARY_DIR}/man/man1/${page}.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/man1/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  pipecalc_compress(${CMAKE_SOURCE_DIR}/resources/man/ru/${page} ${CMAKE_BINARY_DIR}/man/ru/man1/${page}.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/ru/man1/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man1)
endforeach()

# The copyright notice in Debian's machine-readable form (the licence's text
# is the system's), and the release history.
install(FILES ${CMAKE_SOURCE_DIR}/resources/doc/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
pipecalc_compress(${CMAKE_SOURCE_DIR}/resources/doc/changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

add_custom_target(pipecalc_compressed_files ALL DEPENDS ${PIPECALC_COMPRESSED_FILES})

# The Debian package: pipecalc_<version>_<architecture>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pipecalc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "pipecalc")
# Whoever makes the package may name themselves (scripts/package takes
# DEBEMAIL); the project itself has no mail address, and says so in the
# domain kept for names that cannot exist.
set(PIPECALC_PACKAGE_MAINTAINER "pipecalc developers <pipecalc@no-address.invalid>" CACHE STRING
    "The package's maintainer, a name and a mail address")
set(CPACK_PACKAGE_CONTACT ${PIPECALC_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for buried corrugated and fiberglass pipelines")
set(CPACK_PACKAGE_DESCRIPTION
    "An engineering calculator for gravity pipelines laid in the ground: the
hydraulic calculation of a pipeline running partly full, the static
calculation of a corrugated polymer pipe in a trench and of a fiberglass pipe
in a trench or without one, with reports opened in a built-in editor, saved as
RTF or text, exported to PDF or printed.  The user interface and the reports
are in Russian.
.
The package holds the program pipecalc with its menu entry, the command-line
tool pipecalc-cli, the reference database, the report templates and the
user's guide.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the programs; what they load at run time is named
# here: the Russian texts of Qt's own dialogs, and the fonts that stand in for
# the typefaces the windows and reports ask for (Arial and Courier by
# Liberation's metric twins, the rest by DejaVu).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation, fonts-dejavu-core")
# Wayland sessions, the guide in a browser, the icon theme's folders.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils, hicolor-icon-theme")
include(CPack)
