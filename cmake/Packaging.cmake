# The installation beyond the programs, their helpers and their resources
# (which their own folders install; helper programs go to
# PIPECALC_INSTALL_HELPERDIR, where ResourceLocator::helperExecutable() finds
# them): the desktop entry, the AppStream metainfo, the file type of the
# projects, the icons and the manual pages; and the Debian package that CPack
# makes of it all ("cpack -G DEB" in the build folder, or scripts/package).

set(PIPECALC_APP_ID org.pipecalc.pipecalc)
set(PIPECALC_HOMEPAGE "https://pipecalc.example.org" CACHE STRING
    "The program's home page, named in the AppStream metainfo with its screenshot")

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

# Manual pages, compressed.
set(PIPECALC_MAN_PAGES)
foreach(page pipecalc.1 pipecalc-cli.1)
  set(source ${CMAKE_SOURCE_DIR}/resources/man/${page})
  set(output ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${source} -DOUTPUT=${output} -P ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
    DEPENDS ${source} ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
    COMMENT "Compressing the manual page ${page}"
    VERBATIM)
  list(APPEND PIPECALC_MAN_PAGES ${output})
endforeach()
add_custom_target(pipecalc_man_pages ALL DEPENDS ${PIPECALC_MAN_PAGES})
install(FILES ${PIPECALC_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: pipecalc_<version>_<architecture>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pipecalc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "pipecalc")
set(CPACK_PACKAGE_CONTACT "pipecalc developers <pipecalc@example.org>")
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
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PIPECALC_HOMEPAGE})
# The libraries come from the programs; what they load at run time is named
# here: the Russian texts of Qt's own dialogs, and the fonts that stand in for
# the typefaces the windows and reports ask for (Arial and Courier by
# Liberation's metric twins, the rest by DejaVu).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation, fonts-dejavu-core, fontconfig")
# Wayland sessions, the guide in a browser, the icon theme's folders.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils, hicolor-icon-theme")
include(CPack)
