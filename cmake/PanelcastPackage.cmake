# Install rules and the Debian package (`make package`: CPack's DEB generator
# on the build tree). The package installs under /usr whatever
# CMAKE_INSTALL_PREFIX says, and its user unit names the package's program.
include(GNUInstallDirs)

set(PANELCAST_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(PANELCAST_INSTALLED_BINARY ${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/panelcast)
set(PANELCAST_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/panelcast)

# Official themes: the build puts theme folders under
# <W><H>/official/theme_<name>/ here, next to the executable where a build
# folder finds them; the package installs them read-only.
set(PANELCAST_OFFICIAL_THEMES ${CMAKE_BINARY_DIR}/app/themes CACHE INTERNAL "Official theme folders of the build")
file(MAKE_DIRECTORY ${PANELCAST_OFFICIAL_THEMES})
install(DIRECTORY ${PANELCAST_OFFICIAL_THEMES}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/panelcast/themes
        FILES_MATCHING PATTERN "*/official/*" PATTERN "personal" EXCLUDE)

install(FILES ${PANELCAST_PACKAGING_DIR}/60-panelcast-serial.rules DESTINATION /lib/udev/rules.d)
install(FILES ${PANELCAST_PACKAGING_DIR}/panelcast.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 64 128 256)
    install(FILES ${PANELCAST_PACKAGING_DIR}/icons/panelcast-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME panelcast.png)
endforeach()

set(generated ${CMAKE_BINARY_DIR}/packaging)
configure_file(${PANELCAST_PACKAGING_DIR}/org.panelcast.Panelcast.metainfo.xml
               ${generated}/org.panelcast.Panelcast.metainfo.xml @ONLY)
install(FILES ${generated}/org.panelcast.Panelcast.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
configure_file(${PANELCAST_PACKAGING_DIR}/panelcast.service.in ${generated}/panelcast.service @ONLY)
install(FILES ${generated}/panelcast.service DESTINATION lib/systemd/user)

# Debian wants the changelog and man pages compressed reproducibly.
configure_file(${PANELCAST_PACKAGING_DIR}/changelog ${generated}/changelog @ONLY)
set(gzipped ${generated}/changelog.gz)
foreach(page panelcast panelcast-ctl panelcast-emu)
    list(APPEND gzipped ${generated}/${page}.1.gz)
    add_custom_command(OUTPUT ${generated}/${page}.1.gz
        COMMAND gzip -9nc ${PANELCAST_PACKAGING_DIR}/man/${page}.1 > ${generated}/${page}.1.gz
        DEPENDS ${PANELCAST_PACKAGING_DIR}/man/${page}.1 VERBATIM)
    install(FILES ${generated}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_command(OUTPUT ${generated}/changelog.gz
    COMMAND gzip -9nc ${generated}/changelog > ${generated}/changelog.gz
    DEPENDS ${generated}/changelog VERBATIM)
add_custom_target(panelcast_package_docs ALL DEPENDS ${gzipped})
install(FILES ${generated}/changelog.gz ${PANELCAST_PACKAGING_DIR}/copyright DESTINATION ${PANELCAST_DOC_DIR})
# Opens the CPU energy counter to every user: a choice for the machine's owner, not a default.
install(FILES ${PANELCAST_PACKAGING_DIR}/60-panelcast-powercap.rules DESTINATION ${PANELCAST_DOC_DIR}/examples)

# `make package` builds first; cpack need not walk every target again.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME panelcast)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Panelcast developers <maintainers@users.noreply.c-seed-baebbff9.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion application for USB smart-monitor displays")
set(CPACK_PACKAGE_DESCRIPTION "Panelcast composes themes of live sensor readings, clocks, text, pictures
and video and streams them as H.264 to the small USB displays that sit
inside PC cases, and drives seven-segment temperature panels. It ships a
udev rule that gives the user at the desk access to the supported devices,
a desktop entry, and a systemd user service that streams without a window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ffmpeg, pci.ids, fonts-dejavu-core, qtwayland5")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${PANELCAST_PACKAGING_DIR}/postinst;${PANELCAST_PACKAGING_DIR}/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# Only the programs, not the test, bench or tool-building targets.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")
include(CPack)
