# One interface target carries the project's warning policy; every target links it.
add_library(olvanta_warnings INTERFACE)
add_library(olvanta::warnings ALIAS olvanta_warnings)
target_compile_options(olvanta_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror)

# Helper: a library target per folder with its olvanta:: alias.
function(olvanta_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(olvanta_${name} STATIC ${ARG_SOURCES})
    add_library(olvanta::${name} ALIAS olvanta_${name})
    target_include_directories(olvanta_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(olvanta_${name} PUBLIC ${ARG_PUBLIC_DEPS}
                          PRIVATE olvanta::warnings ${ARG_PRIVATE_DEPS})
endfunction()
