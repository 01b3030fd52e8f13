# Where the program's two data files come from. The locations file is
# committed data. The zone file is made from the machine's zoneinfo by
# olvanta-tzrefresh: in the build tree at every build, and again by
# `cmake --install` (component "zonefile"), so both follow the tzdata the
# machine has. The Debian package makes it at install and after every tzdata
# update instead (component "debian", see Packaging.cmake). The committed
# data/tmzn.tzd is the snapshot used where no zoneinfo is at hand.
option(OLVANTA_ZONE_SNAPSHOT
       "Use the committed data/tmzn.tzd as the zone file instead of making it from the zoneinfo (a cross build, a Windows build, a machine without zoneinfo)"
       OFF)
set(OLVANTA_ZONEINFO_DIR "/usr/share/zoneinfo"
    CACHE PATH "The zoneinfo that the build and the installation make the zone file from")

set(OLVANTA_ZONE_SNAPSHOT_FILE "${PROJECT_SOURCE_DIR}/data/tmzn.tzd")
set(locations "${PROJECT_SOURCE_DIR}/data/tmzn.tzd.Locations")
configure_file(${locations} ${OLVANTA_RUNTIME_DIR}/tmzn.tzd.Locations COPYONLY)
install(FILES ${locations} DESTINATION ${OLVANTA_INSTALL_PRIVATE_DIR})

# How far the snapshot lags the machine's tzdata, for whoever builds: it only
# matters where the snapshot is used.
file(STRINGS "${OLVANTA_ZONE_SNAPSHOT_FILE}" snapshot_line LIMIT_COUNT 1 ENCODING UTF-8)
string(REGEX MATCH "[0-9-]+ to [0-9-]+ from tzdata [0-9a-z]+" snapshot_made "${snapshot_line}")
set(machine_version "none")
if(EXISTS "${OLVANTA_ZONEINFO_DIR}/tzdata.zi")
    file(STRINGS "${OLVANTA_ZONEINFO_DIR}/tzdata.zi" version_line LIMIT_COUNT 1)
    string(REGEX REPLACE "^# version " "" machine_version "${version_line}")
endif()
message(STATUS "Zone file snapshot: ${snapshot_made}; tzdata in ${OLVANTA_ZONEINFO_DIR}: "
               "${machine_version}")

set(zone_file_from_snapshot ${OLVANTA_ZONE_SNAPSHOT})
if(NOT zone_file_from_snapshot AND NOT IS_DIRECTORY "${OLVANTA_ZONEINFO_DIR}")
    message(STATUS "No zoneinfo in ${OLVANTA_ZONEINFO_DIR}: the zone file is the snapshot")
    set(zone_file_from_snapshot ON)
endif()

set(make_zone_file "${PROJECT_SOURCE_DIR}/cmake/MakeZoneFile.cmake")
if(zone_file_from_snapshot)
    configure_file(${OLVANTA_ZONE_SNAPSHOT_FILE} ${OLVANTA_RUNTIME_DIR}/tmzn.tzd COPYONLY)
    install(FILES ${OLVANTA_ZONE_SNAPSHOT_FILE} DESTINATION ${OLVANTA_INSTALL_PRIVATE_DIR}
            COMPONENT zonefile)
else()
    # Every build: a tzdata update or a new day changes the file, and the
    # refresh leaves a file that is already right untouched.
    add_custom_target(zone_file ALL
        COMMAND ${CMAKE_COMMAND} -DREFRESH=$<TARGET_FILE:olvanta-tzrefresh>
                -DZONEINFO=${OLVANTA_ZONEINFO_DIR} -DLOCATIONS=${locations}
                -DOUT=${OLVANTA_RUNTIME_DIR}/tmzn.tzd -DSNAPSHOT=${OLVANTA_ZONE_SNAPSHOT_FILE}
                -P ${make_zone_file}
        VERBATIM)
    add_dependencies(zone_file olvanta-tzrefresh)
    # At install time, from the installing machine's zoneinfo; the file made
    # is listed in the install manifest, so uninstalling removes it too.
    set(installed "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${OLVANTA_INSTALL_PRIVATE_DIR}/tmzn.tzd")
    install(CODE "
        set(REFRESH \"$<TARGET_FILE:olvanta-tzrefresh>\")
        set(ZONEINFO \"${OLVANTA_ZONEINFO_DIR}\")
        set(LOCATIONS \"${locations}\")
        set(OUT \"${installed}\")
        set(SNAPSHOT \"${OLVANTA_ZONE_SNAPSHOT_FILE}\")
        message(STATUS \"Installing: \${OUT}\")
        include(\"${make_zone_file}\")
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"${installed}\")"
        COMPONENT zonefile)
endif()
