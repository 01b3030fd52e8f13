# Makes the zone file OUT from the zoneinfo ZONEINFO for the zones that the
# locations file LOCATIONS names, with the refresh program REFRESH; where that
# fails, OUT becomes a copy of the committed snapshot SNAPSHOT, and a warning
# says why. Run by the build (cmake -P) and by `cmake --install` (include).
foreach(variable REFRESH ZONEINFO LOCATIONS OUT SNAPSHOT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "MakeZoneFile.cmake needs ${variable}")
    endif()
endforeach()

execute_process(
    COMMAND "${REFRESH}" --zoneinfo "${ZONEINFO}" --locations "${LOCATIONS}" --out "${OUT}"
    RESULT_VARIABLE refresh_status
    OUTPUT_VARIABLE refresh_output
    ERROR_VARIABLE refresh_errors
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_STRIP_TRAILING_WHITESPACE)
if(refresh_status EQUAL 0)
    message(STATUS "Zone file ${refresh_output}")
    if(refresh_errors)
        message(WARNING "${refresh_errors}")
    endif()
else()
    message(WARNING "Cannot make ${OUT} from ${ZONEINFO} (${refresh_errors}${refresh_status}); "
                    "it is the committed snapshot instead")
    get_filename_component(out_directory "${OUT}" DIRECTORY)
    file(MAKE_DIRECTORY "${out_directory}")
    file(COPY_FILE "${SNAPSHOT}" "${OUT}" ONLY_IF_DIFFERENT)
endif()
