# What `cmake --install` puts under the prefix, and the Debian package built from it
# (`cpack -G DEB`):
#
#   bin/kestrova, bin/kestrova-cli
#   libexec/kestrova/kestrova-render          the picture commands of kestrova-cli
#   share/kestrova/SVET0.bmp                  the printed map
#   share/applications, share/metainfo, share/mime/packages, share/icons/hicolor
#   share/man/man1/kestrova.1, kestrova-cli.1
#   share/doc/kestrova/LICENSE, THIRD-PARTY-NOTICES
include(GNUInstallDirs)

set(KESTROVA_APP_ID org.kestrova.Kestrova)
set(KESTROVA_INSTALL_DIR ${PROJECT_SOURCE_DIR}/res/install)

install(TARGETS kestrova-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
configure_file(docs/man/kestrova-cli.1 ${PROJECT_BINARY_DIR}/man/kestrova-cli.1 @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/man/kestrova-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES LICENSE ${KESTROVA_INSTALL_DIR}/THIRD-PARTY-NOTICES
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrova)

if(KESTROVA_GUI)
    install(TARGETS kestrova RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(TARGETS kestrova-render RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/kestrova)
    # Found there by the programs relative to their own folder (render/print_page.cpp).
    install(FILES res/SVET0.bmp DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrova)

    configure_file(docs/man/kestrova.1 ${PROJECT_BINARY_DIR}/man/kestrova.1 @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/man/kestrova.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

    install(FILES ${KESTROVA_INSTALL_DIR}/${KESTROVA_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    configure_file(${KESTROVA_INSTALL_DIR}/${KESTROVA_APP_ID}.metainfo.xml
                   ${PROJECT_BINARY_DIR}/${KESTROVA_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/${KESTROVA_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${KESTROVA_INSTALL_DIR}/${KESTROVA_APP_ID}.mime.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${KESTROVA_APP_ID}.xml)
    foreach(size 16 24 32 48 64 128 256)
        install(FILES res/icons/hicolor/${size}x${size}/apps/${KESTROVA_APP_ID}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
endif()

# The Debian package. Depends come from the libraries the programs link
# (dpkg-shlibdeps), plus Qt's platform plugins (the window and the offscreen pictures)
# and the fonts the map's Arial texts fall back to.
set(CPACK_PACKAGE_NAME kestrova)
set(CPACK_PACKAGE_VENDOR "Kestrova developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compute solar eclipses and draw them on a world map")
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrova computes solar eclipses for a date and a time in Universal Time and draws\n"
    "them on a world map: the Moon's penumbra and umbra, the contact times, the path of\n"
    "the eclipse with the sunrise and sunset limits, and a printable map. kestrova-cli\n"
    "prints the same results on the command line.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kestrova developers")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(KESTROVA_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
endif()
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xvfb")
include(CPack)
