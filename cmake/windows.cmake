# The Windows build's settings, read right after project(): library names, static runtime, and
# the third-party pieces that come from source or headers instead of the build machine.
if(NOT WIN32)
    return()
endif()

# The host and the plug-in load pfConfig.dll and DovrelAPIu.dll by those names.
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_SHARED_MODULE_PREFIX "")

# The C++ runtime and winpthreads go into every program and library, so nothing but the system's
# own DLLs is needed beside them.
add_link_options(-static)
# A DLL without export markings exports every symbol of its own, but none of the runtime's.
string(APPEND CMAKE_SHARED_LINKER_FLAGS " -Wl,--exclude-libs,ALL")
# Test programs with many template instances go over the default section limit of COFF objects.
add_compile_options(-Wa,-mbig-obj)

# Header-only: found through a package file of ours that does not add the build machine's
# /usr/include (with its C library headers) to the target's include path.
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/packages/nlohmann_json CACHE PATH
    "The JSON library's package for the Windows build")

# GoogleTest is built from source here, for the tests only.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
