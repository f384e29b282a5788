# The project's one version (project() above) as the programs and libraries carry it: on
# Windows, a version resource in every DLL and program.
if(WIN32)
    enable_language(RC)
endif()

# ambrel_version_resource(TARGET "DESCRIPTION"): on Windows, a version resource naming the
# target's file, the description and the project's version; elsewhere nothing.
function(ambrel_version_resource target description)
    if(NOT WIN32)
        return()
    endif()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        set(AMBREL_RC_FILE_TYPE "VFT_APP")
    else()
        set(AMBREL_RC_FILE_TYPE "VFT_DLL")
    endif()
    set(AMBREL_RC_DESCRIPTION "${description}")
    set(rc "${CMAKE_BINARY_DIR}/version/${target}.rc.in")
    configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
    # The file name is only known at generation time.
    file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/version/${target}.rc" INPUT ${rc}
         TARGET ${target})
    target_sources(${target} PRIVATE "${CMAKE_BINARY_DIR}/version/${target}.rc")
endfunction()
