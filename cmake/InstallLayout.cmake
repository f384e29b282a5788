# Where things go in an installed tree, and how they find each other there: every path is
# relative to the file that looks, so the tree runs wherever it is moved.
#   bin/                    ambrel-host (and on Windows every DLL, the plug-in included)
#   lib/                    the shared libraries; the SDK's static framework library
#   lib/ambrel/             the plug-in (not on Windows)
#   share/ambrel/cameras/   the camera model files
#   include/ambrel/         the SDK's headers
#   lib/cmake/Ambrel/       the SDK's CMake package
if(WIN32)
    set(AMBREL_PLUGIN_INSTALL_DIR ${CMAKE_INSTALL_BINDIR})
else()
    set(AMBREL_PLUGIN_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/ambrel)
endif()
set(AMBREL_MODELS_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/ambrel/cameras)
set(AMBREL_INCLUDE_INSTALL_DIR ${CMAKE_INSTALL_INCLUDEDIR}/ambrel)
set(AMBREL_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Ambrel)

# The host looks for the plug-in and the models relative to its own folder; the build tree
# keeps the same shape (the plug-in sits beside the host there, where it is looked for first).
file(RELATIVE_PATH AMBREL_PLUGIN_FROM_HOST /root/${CMAKE_INSTALL_BINDIR}
     /root/${AMBREL_PLUGIN_INSTALL_DIR})
file(RELATIVE_PATH AMBREL_MODELS_FROM_HOST /root/${CMAKE_INSTALL_BINDIR}
     /root/${AMBREL_MODELS_INSTALL_DIR})
if(AMBREL_PLUGIN_FROM_HOST STREQUAL "")
    set(AMBREL_PLUGIN_FROM_HOST .)
endif()

# Run paths of the installed files, relative to each file.
file(RELATIVE_PATH libs_from_bin /root/${CMAKE_INSTALL_BINDIR} /root/${CMAKE_INSTALL_LIBDIR})
file(RELATIVE_PATH libs_from_plugin /root/${AMBREL_PLUGIN_INSTALL_DIR}
     /root/${CMAKE_INSTALL_LIBDIR})
set(AMBREL_RPATH_PROGRAM "$ORIGIN/${libs_from_bin}")
set(AMBREL_RPATH_LIBRARY "$ORIGIN")
string(REGEX REPLACE "/$" "" libs_from_plugin "${libs_from_plugin}")
set(AMBREL_RPATH_PLUGIN "$ORIGIN/${libs_from_plugin}")
