# The header-only JSON library for cross builds: only its own headers go on the include path.
set(_ambrel_json_headers /usr/include/nlohmann)
if(NOT EXISTS ${_ambrel_json_headers}/json.hpp)
    set(nlohmann_json_FOUND FALSE)
    set(nlohmann_json_NOT_FOUND_MESSAGE "${_ambrel_json_headers}/json.hpp is missing (nlohmann-json3-dev)")
    return()
endif()
if(NOT TARGET nlohmann_json::nlohmann_json)
    # A folder holding just a link to the headers' folder, so <nlohmann/json.hpp> resolves.
    set(_ambrel_json_root ${CMAKE_BINARY_DIR}/third-party/nlohmann_json)
    file(MAKE_DIRECTORY ${_ambrel_json_root})
    file(CREATE_LINK ${_ambrel_json_headers} ${_ambrel_json_root}/nlohmann SYMBOLIC)
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                          INTERFACE_INCLUDE_DIRECTORIES ${_ambrel_json_root})
endif()
