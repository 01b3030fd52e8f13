# One interface target carries the project's warning policy; every target links it.
add_library(olvanta_warnings INTERFACE)
add_library(olvanta::warnings ALIAS olvanta_warnings)
target_compile_options(olvanta_warnings INTERFACE -Wall -Wextra -Wpedantic)

# Off by default: a packager's newer compiler or own flags may find warnings we
# never saw, and that must not stop their build. The presets and CI turn it on.
option(OLVANTA_WERROR "Treat compiler warnings as errors" OFF)
if(OLVANTA_WERROR)
    target_compile_options(olvanta_warnings INTERFACE -Werror)
endif()

# Helper: a library target per folder with its olvanta:: alias.
function(olvanta_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(olvanta_${name} STATIC ${ARG_SOURCES})
    add_library(olvanta::${name} ALIAS olvanta_${name})
    target_include_directories(olvanta_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(olvanta_${name} PUBLIC ${ARG_PUBLIC_DEPS}
                          PRIVATE olvanta::warnings ${ARG_PRIVATE_DEPS})
endfunction()
