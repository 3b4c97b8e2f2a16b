# Install layout and the Debian package.
#
#   bin/tabulo                   -> ../lib/tabulo/tabulo (the program finds its
#                                   folder through the link's target)
#   bin/tabulo-chartpack, bin/tabulo-ranges, bin/tabulo-trainer (when built)
#   lib/tabulo/tabulo            the program; its folder is the program folder
#   lib/tabulo/img               -> ../../share/tabulo/img (the default pack)
#   share/tabulo/ranges.txt      the range file the pack is rendered from
#   share/applications, share/metainfo, share/icons, share/man/man1
#
# The installed program folder belongs to root, so the program keeps each
# user's "Custom.ini" and chart overrides in the user's own folders.
include(GNUInstallDirs)

set(TABULO_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(TABULO_DEB_RELEASE 1)
set(TABULO_DEB_VERSION ${PROJECT_VERSION}-${TABULO_DEB_RELEASE})
set(TABULO_VERSION ${PROJECT_VERSION})
set(TABULO_METAINFO_ID io.github.tabulo.Tabulo)

install(TARGETS tabulo RUNTIME DESTINATION lib/tabulo)
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bin}\")
  file(CREATE_LINK ../lib/tabulo/tabulo \"\${bin}/tabulo\" SYMBOLIC)
  file(CREATE_LINK ../../share/tabulo/img
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/tabulo/img\" SYMBOLIC)")
install(DIRECTORY ${CMAKE_BINARY_DIR}/img DESTINATION ${CMAKE_INSTALL_DATADIR}/tabulo)
install(FILES ${CMAKE_SOURCE_DIR}/tools/chartpack/ranges.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tabulo)

# Manual pages, gzipped as Debian wants them; a companion's page is
# installed when both the companion and its page exist.
set(tabulo_commands tabulo tabulo-chartpack tabulo-ranges tabulo-trainer)
set(tabulo_manpages)
foreach(command IN LISTS tabulo_commands)
  if(NOT TARGET ${command} OR NOT EXISTS ${TABULO_PACKAGING_DIR}/${command}.1)
    continue()
  endif()
  if(NOT command STREQUAL "tabulo")
    install(TARGETS ${command} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
  configure_file(${TABULO_PACKAGING_DIR}/${command}.1 ${CMAKE_BINARY_DIR}/man/${command}.1 @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${command}.1.gz
                     COMMAND gzip -9nf -k ${command}.1
                     DEPENDS ${CMAKE_BINARY_DIR}/man/${command}.1
                     WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/man VERBATIM)
  list(APPEND tabulo_manpages ${CMAKE_BINARY_DIR}/man/${command}.1.gz)
endforeach()

configure_file(${TABULO_PACKAGING_DIR}/tabulo.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${TABULO_METAINFO_ID}.metainfo.xml @ONLY)
configure_file(${TABULO_PACKAGING_DIR}/changelog ${CMAKE_BINARY_DIR}/doc/changelog.Debian @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz
                   COMMAND gzip -9nf -k changelog.Debian
                   DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.Debian
                   WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/doc VERBATIM)
add_custom_target(packaging_files ALL DEPENDS ${tabulo_manpages}
                                              ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz)
install(FILES ${tabulo_manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/${TABULO_METAINFO_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The trainer's own desktop entry and AppStream entry.
if(TARGET tabulo-trainer)
  configure_file(${TABULO_PACKAGING_DIR}/tabulo-trainer.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/io.github.tabulo.Trainer.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/io.github.tabulo.Trainer.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/tabulo-trainer.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()
install(FILES ${TABULO_PACKAGING_DIR}/copyright ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tabulo)

# The Debian package (cpack -G DEB): runtime dependencies are computed by
# dpkg-shlibdeps from the installed binaries. Section "misc": Debian's
# "games" section is for programs in /usr/games.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tabulo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tabulo developers")
set(CPACK_PACKAGE_CONTACT "Tabulo developers <tabulo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "always-on-top viewer for poker pre-flop range charts")
set(CPACK_PACKAGE_DESCRIPTION
    "Tabulo is a small window that stays beside the poker tables and shows the
right pre-flop range chart with one click: a 13 x 13 grid of the starting
hands, a 6 x 6 grid of seat matchups, 39 slots of the player's own charts
and a colour legend.

A default chart pack is included, rendered from a readable range file by
tabulo-chartpack; each user can replace any chart, or the whole pack, in
their own data folder.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TABULO_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tabulo.example.org/")
# Qt finds its display plugin and the trainer's SQLite driver at run time,
# so no library names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_SOURCE_IGNORE_FILES "/build.*/;/\\\\.git/")
include(CPack)
