# The Debian package: `cpack -G DEB` in a build tree. It holds what
# `cmake --install` installs, under /usr. Its dependencies are read from the
# programs themselves by dpkg-shlibdeps (the Qt 6 runtime, the C and C++
# runtimes), so they follow whatever the build links.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "olvanta")
set(CPACK_PACKAGE_VENDOR "Quandelle")
set(CPACK_PACKAGE_CONTACT "Quandelle <support@olvanta.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert a time of day from one place on Earth to another")
set(CPACK_PACKAGE_HOMEPAGE_URL "${OLVANTA_WEB_SITE}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
# What `cmake --install` installs but the zone file, and the package's own
# part (component "debian").
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};olvanta;/;${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
# The optimised build carries debug information; the package does not.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-open opens the web links; without it the default browser's own entry is
# tried. The Wayland platform plugin is a separate package. The zone rules are
# made from tzdata; without it the ones shipped with the package serve.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland, tzdata")

# The zone file is made by the maintainer script at install and after every
# tzdata update (a trigger on /usr/share/zoneinfo) into /var/lib/olvanta, which
# the package's lib/olvanta/tmzn.tzd links to; the snapshot serves where it
# cannot be made. Purging removes /var/lib/olvanta.
set(OLVANTA_PACKAGE_LIB_DIR "${CPACK_PACKAGING_INSTALL_PREFIX}/${OLVANTA_INSTALL_PRIVATE_DIR}")
set(OLVANTA_PACKAGE_SNAPSHOT "${CPACK_PACKAGING_INSTALL_PREFIX}/share/olvanta/tmzn.tzd")
set(package_links "${CMAKE_BINARY_DIR}/package-links")
file(MAKE_DIRECTORY "${package_links}")
file(CREATE_LINK "/var/lib/olvanta/tmzn.tzd" "${package_links}/tmzn.tzd" SYMBOLIC)
install(FILES "${package_links}/tmzn.tzd" DESTINATION ${OLVANTA_INSTALL_PRIVATE_DIR}
        COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${OLVANTA_ZONE_SNAPSHOT_FILE} DESTINATION share/olvanta
        COMPONENT debian EXCLUDE_FROM_ALL)
configure_file(cmake/package/postinst.in ${CMAKE_BINARY_DIR}/package/postinst @ONLY)
configure_file(cmake/package/postrm ${CMAKE_BINARY_DIR}/package/postrm COPYONLY)
configure_file(cmake/package/triggers ${CMAKE_BINARY_DIR}/package/triggers COPYONLY)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${CMAKE_BINARY_DIR}/package/postinst;${CMAKE_BINARY_DIR}/package/postrm;${CMAKE_BINARY_DIR}/package/triggers")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The summary comes first, from CPACK_PACKAGE_DESCRIPTION_SUMMARY; CPack
# indents these lines and marks the empty one as a paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Olvanta converts a time of day at one place into the time and date at
another. Its window holds two sorted lists of places, a time entry with
buttons for now, midnight and noon, and shows the remote time and date, the
time difference and each place's offset from GMT with its daylight-saving
time.

Its time zone rules are made from the system's tzdata when it is installed
and again after every tzdata update, with no network.
The command olvanta-cli gives the same answers in a terminal.")

include(CPack)
