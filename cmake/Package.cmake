# Installation and the Debian package (`make package`): the three programs, the desktop
# entry, the ".T21" MIME type, the icon, the AppStream data, the manual pages and the
# backup server's systemd unit, installed disabled, with its settings file. The package's
# dependencies are computed by dpkg-shlibdeps from the programs' libraries, plus what the
# program loads at start (below); it carries a changelog.
include(GNUInstallDirs)

install(TARGETS focaris focaris-tool focaris-backup-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(linux_share ${PROJECT_SOURCE_DIR}/share/linux)
install(FILES ${linux_share}/focaris.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${linux_share}/focaris-t21.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${linux_share}/focaris.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${linux_share}/ro.focaris.FocAris.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# systemd reads units from /usr/lib/systemd/system as well as /lib/systemd/system.
install(FILES ${linux_share}/focaris-backup-server.service DESTINATION lib/systemd/system)
# Its settings (listen address, mail command): a configuration file the package keeps.
install(FILES ${linux_share}/focaris-backup-server.default DESTINATION /etc/default
        RENAME focaris-backup-server)

# Manual pages, compressed as Debian keeps them.
find_program(FOCARIS_GZIP gzip)
foreach(page focaris focaris-tool focaris-backup-server)
  set(src ${PROJECT_SOURCE_DIR}/share/man/${page}.1)
  set(out ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${FOCARIS_GZIP} -9nc ${src} > ${out}
    DEPENDS ${src} VERBATIM)
  list(APPEND man_pages ${out})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${PROJECT_SOURCE_DIR}/share/linux/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/focaris)

# The maintainer of the package, as it appears in its control file and changelog.
set(FOCARIS_PACKAGE_MAINTAINER "Foc aris maintainers <maintainers@users.noreply.c-seed-1d56895a.example>"
    CACHE STRING "Maintainer field of the Debian package: Name <address>")
# The package's changelog, compressed as Debian keeps it.
configure_file(${linux_share}/changelog.in ${PROJECT_BINARY_DIR}/changelog.Debian @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/changelog.Debian.gz
  COMMAND ${FOCARIS_GZIP} -9nc ${PROJECT_BINARY_DIR}/changelog.Debian > ${PROJECT_BINARY_DIR}/changelog.Debian.gz
  DEPENDS ${PROJECT_BINARY_DIR}/changelog.Debian VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/changelog.Debian.gz)
install(FILES ${PROJECT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/focaris)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME focaris)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "${FOCARIS_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${FOCARIS_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "heating aid and energy supplements for a municipality's social-assistance office")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Month by month registers households' applications for the heating aid and the\n energy supplements of Law 226/2021, computes the amounts, prints dispositions,\n reports and payment statements, writes the files the authorities and the energy\n suppliers require, and keeps the data in compressed archives, locally and on a\n remote backup server (focaris-backup-server).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program loads at start besides the libraries it is linked with (which
# dpkg-shlibdeps adds): Qt's platform plugins, which Qt's own package only recommends, so
# that an installation without recommends still opens a window. Qt's translations are only
# recommended: the program carries the Romanian texts of the dialogs it shows and uses
# Qt's own catalogue only when one is installed.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The server's settings file is the administrator's: an upgrade keeps the edited one.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${linux_share}/conffiles)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libreoffice-writer, libreoffice-calc, xdg-utils")
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/package)
include(CPack)
