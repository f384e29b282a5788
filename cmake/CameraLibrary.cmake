# The camera library the plug-in links: the simulated one built here, or the vendor's own when
# AMBREL_CAMERA_LIBRARY names it (the shared object, or on Windows its import library, with
# AMBREL_CAMERA_DLL naming the DLL itself). Either way it implements the declarations of
# ambrel_camera_api, and the plug-in links the target ambrel_camera_library.
set(AMBREL_CAMERA_LIBRARY "" CACHE FILEPATH
    "The vendor's camera library to link the plug-in against (default: the simulated camera)")
set(AMBREL_CAMERA_DLL "" CACHE FILEPATH "Windows: the vendor camera library's DLL")

if(AMBREL_CAMERA_LIBRARY)
    if(NOT EXISTS "${AMBREL_CAMERA_LIBRARY}")
        message(FATAL_ERROR "AMBREL_CAMERA_LIBRARY: no such file: ${AMBREL_CAMERA_LIBRARY}")
    endif()
    add_library(ambrel_camera_library SHARED IMPORTED GLOBAL)
    if(WIN32)
        if(NOT EXISTS "${AMBREL_CAMERA_DLL}")
            message(FATAL_ERROR "AMBREL_CAMERA_DLL must name the camera library's DLL")
        endif()
        set_target_properties(ambrel_camera_library PROPERTIES
            IMPORTED_IMPLIB "${AMBREL_CAMERA_LIBRARY}" IMPORTED_LOCATION "${AMBREL_CAMERA_DLL}")
    else()
        set_target_properties(ambrel_camera_library PROPERTIES
            IMPORTED_LOCATION "${AMBREL_CAMERA_LIBRARY}")
    endif()
    target_link_libraries(ambrel_camera_library INTERFACE ambrel_camera_api)
    message(STATUS "Camera library: ${AMBREL_CAMERA_LIBRARY}")
else()
    add_library(ambrel_camera_library ALIAS pfConfig)
endif()
