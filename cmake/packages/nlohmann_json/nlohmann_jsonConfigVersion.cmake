# The installed JSON headers' own version answer (it does not depend on the target machine).
include(/usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake OPTIONAL
        RESULT_VARIABLE _ambrel_json_version_file)
if(NOT _ambrel_json_version_file)
    set(PACKAGE_VERSION_UNSUITABLE TRUE)
endif()
