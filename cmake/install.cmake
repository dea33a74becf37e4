# Installing Merilon like any desktop program, and the Debian package built from that install.
#   <prefix>/bin                           merilon, merilon-cli
#   <prefix>/share/merilon                 the program folder (merilon.knf, the DXF support
#                                          texts, the description, the project catalogue)
#   <prefix>/share/applications            the desktop entry
#   <prefix>/share/icons/hicolor/scalable  the application icon
#   <prefix>/share/mime/packages           the .meri point-file type
# The programs find their program folder at ../share/merilon when no merilon.knf sits beside them.
include(GNUInstallDirs)

install(TARGETS merilon-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(MERILON_BUILD_QT)
  install(TARGETS merilon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${MERILON_DATA_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/merilon)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/merilon.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/merilon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/merilon-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME merilon.xml)

set(CPACK_PACKAGE_NAME merilon)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_VENDOR Merilon)
set(CPACK_PACKAGE_CONTACT "Merilon <merilon@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "road survey points, alignments and terrain cross-sections")
set(CPACK_PACKAGE_DESCRIPTION
    "Merilon reads total-station points from delimited text and DXF drawings, keeps them in\n\
its point file, draws them with the road alignment, generates terrain cross-sections\n\
(.TER) along the alignment and writes 3D DXF drawings. merilon-cli runs the same\n\
commands in batch.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://localhost/merilon")
# The shared libraries come from dpkg-shlibdeps; these are what the program loads at run time:
# the SVG image plugin for its icons, the Polish Qt texts of the standard dialogs, and the fonts
# that stand in for Arial.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-translations-l10n, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
include(CPack)
