# Installation under CMAKE_INSTALL_PREFIX and the Debian package (make package).
include(GNUInstallDirs)

set(BRELKO_APP_ID nl.brelko.Brelko)

install(TARGETS brelko brelko-tag RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/${BRELKO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/brelko.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/${BRELKO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brelko)
set(CPACK_PACKAGE_VENDOR "Brelko")
set(CPACK_PACKAGE_CONTACT "Brelko developers <brelko@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "A small, fast desktop editor for the ID3v1 tags of MP3 files, with brelko-tag to show, set, rename and undo from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "")
# The libraries the programs link come from dpkg-shlibdeps; the plugins Qt
# loads at run time (the X11 platform, the SVG icon) are named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins (>= 6.4), libqt6svg6 (>= 6.4), libtag1v5 (>= 1.12)")
include(CPack)
