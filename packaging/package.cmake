# The installed program and its Debian package (script/package runs cpack).
#   /usr/bin/zelvana            the launcher: private server, database, working folder, program
#   /usr/bin/zelvana-db         script/db: the server, the database, backup and restore
#   /usr/libexec/zelvana        the program itself; it finds the help in ../share/zelvana/help
#   /usr/share/zelvana/         db/ (set-up files), templates/, help/
include(GNUInstallDirs)

# Installing (and so cpack) builds just what it installs, not every test and benchmark first:
# script/package builds the program alone.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# Whatever the umask of the one who builds: the package's folders are everyone's to read.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(ZELVANA_SHARE ${CMAKE_INSTALL_DATADIR}/zelvana)

install(TARGETS zelvana RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR})
install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/zelvana DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${CMAKE_SOURCE_DIR}/script/db DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME zelvana-db)
install(FILES ${CMAKE_SOURCE_DIR}/db/create.sql ${CMAKE_SOURCE_DIR}/db/seed.sql
    ${CMAKE_SOURCE_DIR}/db/demo.sql ${CMAKE_SOURCE_DIR}/db/server.cnf
    DESTINATION ${ZELVANA_SHARE}/db)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/templates/ DESTINATION ${ZELVANA_SHARE}/templates
    FILES_MATCHING PATTERN "*.frf")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/help/ DESTINATION ${ZELVANA_SHARE}/help)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/hu.zelvana.Zelvana.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/hu.zelvana.Zelvana.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/hu.zelvana.Zelvana.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvana)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Zelvana)
set(CPACK_PACKAGE_CONTACT "Zelvana <zelvana@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "register of agricultural land leases (földbérlet-nyilvántartás)")
# The summary above is the first line of the package's description; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Zelvana keeps the land that a farming company rents from many private
owners: owners, parcels with their gold-crown value, lease contracts and
payments. It settles and pays out the rent, prints payment registers,
certificates and land-use notification sheets, and checks and exports the
data. The interface is Hungarian.
.
Each user's register lives in a MariaDB server of the user's own, started
by the launcher and reachable through its socket only; zelvana-db backs it
up and restores it.")
# The libraries the program links, found by dpkg-shlibdeps; then what it runs and draws with:
# the database server and its client tools (the server binaries only, not the system service,
# which would take port 3306 for itself), the report fonts and the fallback face for characters
# they lack, and the first start's dialog.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "mariadb-server-core, mariadb-client, fonts-dejavu-core, fonts-dejavu-extra, fonts-droid-fallback, zenity")
# On a Wayland desktop the window is the desktop's own instead of going through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
