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
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};olvanta;/")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
# The optimised build carries debug information; the package does not.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-open opens the web links; without it the default browser's own entry is
# tried. The Wayland platform plugin is a separate package.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")
# The summary comes first, from CPACK_PACKAGE_DESCRIPTION_SUMMARY; CPack
# indents these lines and marks the empty one as a paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Olvanta converts a time of day at one place into the time and date at
another. Its window holds two sorted lists of places, a time entry with
buttons for now, midnight and noon, and shows the remote time and date, the
time difference and each place's offset from GMT with its daylight-saving
time.

The time zone data ships with the program and needs no network.
The command olvanta-cli gives the same answers in a terminal.")

include(CPack)
