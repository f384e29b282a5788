# What `cmake --install` puts where (see cmake/InstallLayout.cmake), in two components:
#   runtime  what runs: the host, the plug-in, the libraries they load, the camera models
#   sdk      what a module author builds against: the framework, host API and platform headers,
#            their libraries to link, and the CMake package Ambrel (Ambrel::framework)
include(CMakePackageConfigHelpers)

# The camera models, also copied into the build tree where the host looks for them.
set(AMBREL_CAMERA_MODELS faulty full large minimal noports)
foreach(model IN LISTS AMBREL_CAMERA_MODELS)
    set(source ${PROJECT_SOURCE_DIR}/sim/cameras/${model}.json)
    configure_file(${source} ${CMAKE_BINARY_DIR}/${AMBREL_MODELS_INSTALL_DIR}/${model}.json
                   COPYONLY)
    install(FILES ${source} DESTINATION ${AMBREL_MODELS_INSTALL_DIR} COMPONENT runtime)
endforeach()

set_target_properties(ambrel-host ambrel-inspect PROPERTIES INSTALL_RPATH "${AMBREL_RPATH_PROGRAM}")
set_target_properties(ambrel_platform DovrelAPIu pfConfig PROPERTIES
                      INSTALL_RPATH "${AMBREL_RPATH_LIBRARY}")
set_target_properties(AmbrelControl PROPERTIES INSTALL_RPATH "${AMBREL_RPATH_PLUGIN}")

install(TARGETS ambrel-host ambrel-inspect
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(TARGETS AmbrelControl
        LIBRARY DESTINATION ${AMBREL_PLUGIN_INSTALL_DIR} COMPONENT runtime)
install(TARGETS pfConfig
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT sdk)

# The SDK: the framework and the two shared libraries it links, exported as Ambrel::framework,
# Ambrel::platform and Ambrel::hostapi. The shared libraries themselves belong to the runtime.
set_target_properties(ambrel_framework PROPERTIES EXPORT_NAME framework)
set_target_properties(ambrel_platform PROPERTIES EXPORT_NAME platform)
set_target_properties(DovrelAPIu PROPERTIES EXPORT_NAME hostapi)
install(TARGETS ambrel_platform DovrelAPIu ambrel_framework
        EXPORT AmbrelTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT sdk
        INCLUDES DESTINATION ${AMBREL_INCLUDE_INSTALL_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/framework/ ${PROJECT_SOURCE_DIR}/hostapi/include/
                  ${PROJECT_SOURCE_DIR}/platform/include/ ${PROJECT_SOURCE_DIR}/platform/ui/include/
        DESTINATION ${AMBREL_INCLUDE_INSTALL_DIR} COMPONENT sdk
        FILES_MATCHING PATTERN "*.h")
install(EXPORT AmbrelTargets NAMESPACE Ambrel:: DESTINATION ${AMBREL_CMAKE_INSTALL_DIR}
        COMPONENT sdk)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/AmbrelConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/AmbrelConfig.cmake
                              INSTALL_DESTINATION ${AMBREL_CMAKE_INSTALL_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/AmbrelConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/AmbrelConfig.cmake ${CMAKE_BINARY_DIR}/AmbrelConfigVersion.cmake
        DESTINATION ${AMBREL_CMAKE_INSTALL_DIR} COMPONENT sdk)

# The version resources of the Windows build's programs and DLLs.
ambrel_version_resource(ambrel-host "Ambrel reference host")
ambrel_version_resource(AmbrelControl "Ambrel camera-control plug-in")
ambrel_version_resource(pfConfig "Ambrel simulated camera library")
ambrel_version_resource(DovrelAPIu "Ambrel host API library")
ambrel_version_resource(ambrel_platform "Ambrel platform layer")

include(${CMAKE_CURRENT_LIST_DIR}/SplitDebug.cmake)
ambrel_split_debug(ambrel-host ambrel-inspect AmbrelControl pfConfig DovrelAPIu ambrel_platform)
