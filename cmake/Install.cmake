# Where `cmake --install` and the Debian package put Olvanta. The programs and
# their two data files share one private directory, because the programs look
# for their data beside their own resolved executable; bin/ only holds
# relative links to them, so the tree can be moved or unpacked anywhere.
include(GNUInstallDirs)

# Install rules belong to this component unless they name another: the
# zone file made at install is "zonefile", and what only the Debian package
# holds is "debian" (left out of a plain `cmake --install`). The tests and the
# package install components by name, which makes CMake record what they
# installed in install_manifest_<component>.txt; install_manifest.txt, which a
# plain `cmake --install` writes and uninstalling reads, stays the user's own.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME olvanta)

set(OLVANTA_INSTALL_PRIVATE_DIR "lib/olvanta"
    CACHE STRING "Directory, relative to the prefix, for the programs and their data")

# A program in the private directory, installed as it is built.
function(olvanta_install_private_program target)
    install(TARGETS ${target} RUNTIME DESTINATION ${OLVANTA_INSTALL_PRIVATE_DIR})
    get_target_property(program ${target} OUTPUT_NAME)
    if(NOT program)
        set(program ${target})
    endif()
    # A stripped install (`cmake --install --strip`, and the package) also
    # drops the compilers' version notes, as Debian's own packages do: strip
    # alone keeps the .comment section.
    set(installed "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${OLVANTA_INSTALL_PRIVATE_DIR}/${program}")
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment \"${installed}\"
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endfunction()

# A program people start: in the private directory, and the link
# bin/<program> -> ../lib/olvanta/<program>, made in the build tree and
# installed as it is (CMake installs a link as a link and lists it in
# install_manifest.txt, so uninstalling removes it too).
function(olvanta_install_program target)
    olvanta_install_private_program(${target})
    get_target_property(program ${target} OUTPUT_NAME)
    if(NOT program)
        set(program ${target})
    endif()
    file(RELATIVE_PATH link_target "/${CMAKE_INSTALL_BINDIR}"
         "/${OLVANTA_INSTALL_PRIVATE_DIR}/${program}")
    set(link "${CMAKE_BINARY_DIR}/install-links/${program}")
    file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/install-links")
    file(CREATE_LINK "${link_target}" "${link}" SYMBOLIC)
    install(FILES "${link}" DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
