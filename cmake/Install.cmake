# Where Debian's desktops and XScreenSaver look: the program, the hack (a link in the hack
# folder), the hack's description, the desktop entries, the software centres' description, the
# icons, the manual page. And the .deb that carries them.
include(GNUInstallDirs)

install(TARGETS moondial RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(CODE "
  set(hacks \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver\")
  file(MAKE_DIRECTORY \"\${hacks}\")
  file(CREATE_LINK ../../${CMAKE_INSTALL_BINDIR}/moondial \"\${hacks}/moondial\" SYMBOLIC)
")
set(linux ${PROJECT_SOURCE_DIR}/resources/linux)
install(FILES ${linux}/moondial.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${linux}/moondial-screensaver.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers RENAME moondial.desktop)
install(FILES ${linux}/moondial-settings.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME moondial.desktop)
# The idle watcher as a systemd user service, for desktops that start no saver themselves; not
# enabled by the package.
install(FILES ${linux}/moondial-idle.service DESTINATION lib/systemd/user)
# What software centres show of the settings entry.
install(FILES ${linux}/example.quillon.moondial.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/moondial-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME moondial.png)
endforeach()

# Debian wants the manual page and the change log compressed, with no time stamp inside.
foreach(file moondial.6 changelog)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${file}.gz
    COMMAND gzip -9 -n -c ${linux}/${file} > ${CMAKE_BINARY_DIR}/${file}.gz
    DEPENDS ${linux}/${file} VERBATIM)
endforeach()
add_custom_target(compressed_docs ALL
  DEPENDS ${CMAKE_BINARY_DIR}/moondial.6.gz ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/moondial.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz ${linux}/copyright
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/moondial)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME moondial)
set(CPACK_PACKAGE_VENDOR Quillon)
set(CPACK_PACKAGE_CONTACT "Quillon <moondial@quillon.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "clock screen saver")
set(CPACK_PACKAGE_DESCRIPTION "Moondial shows one picture drifting and bouncing across a
black screen: an analog clock dial, an alarm clock, a pair of lips with clock
hands drawn over them, or a picture of your own. It runs as a hack of
XScreenSaver and xfce4-screensaver, and has a settings dialog of its own.")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries it links: Qt's Wayland platform, which Qt loads by itself on a Wayland
# desktop.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver | xfce4-screensaver")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quillon.example/moondial.html")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
