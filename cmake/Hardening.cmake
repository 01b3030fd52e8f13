# The hardening Debian builds its packages with, for the optimised build types
# (fortified C library calls need optimisation): checked buffer functions,
# stack protection, a read-only relocation table bound at start-up, and
# position-independent executables. A packager who passes their own choice of
# any of these in CMAKE_CXX_FLAGS or CMAKE_EXE_LINKER_FLAGS keeps it: ours is
# added only where the flags say nothing of it, so it never redefines or undoes
# theirs.
option(OLVANTA_HARDENING "Build Release and RelWithDebInfo with Debian's hardening flags" ON)

include(CheckPIESupported)
check_pie_supported()

if(OLVANTA_HARDENING)
    set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
    set(given_compile_flags "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_RELEASE}"
                            "${CMAKE_CXX_FLAGS_RELWITHDEBINFO} ${CMAKE_CXX_FLAGS_MINSIZEREL}")
    set(given_link_flags "${CMAKE_EXE_LINKER_FLAGS} ${CMAKE_EXE_LINKER_FLAGS_RELEASE}"
                         "${CMAKE_EXE_LINKER_FLAGS_RELWITHDEBINFO}"
                         "${CMAKE_EXE_LINKER_FLAGS_MINSIZEREL}")
    if(NOT given_compile_flags MATCHES "_FORTIFY_SOURCE")
        add_compile_definitions("$<${optimised}:_FORTIFY_SOURCE=2>")
    endif()
    if(NOT given_compile_flags MATCHES "-f(no-)?stack-protector")
        add_compile_options("$<${optimised}:-fstack-protector-strong>")
    endif()
    if(NOT given_link_flags MATCHES "relro")
        add_link_options("$<${optimised}:LINKER:-z,relro>")
    endif()
    if(NOT given_link_flags MATCHES "-z,?(now|lazy)")
        add_link_options("$<${optimised}:LINKER:-z,now>")
    endif()
endif()
