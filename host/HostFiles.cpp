// Finding the plug-in and the camera models relative to the host's executable.
#include "HostFiles.h"

#include <filesystem>
#include <system_error>

#include "PluginLoader.h"

namespace host {

namespace {

bool IsFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::string DefaultPluginPath(const std::string& folder, const std::string& file) {
    const std::filesystem::path here = PluginLoader::ExecutableFolder();
    const std::filesystem::path beside = here / file;
    if (IsFile(beside)) return beside.string();
    const std::filesystem::path installed = (here / folder / file).lexically_normal();
    return IsFile(installed) ? installed.string() : beside.string();
}

std::string CameraModelPath(const std::string& value, const std::string& folder) {
    const std::filesystem::path given(value);
    if (IsFile(given) || given.has_parent_path()) return value;
    const std::filesystem::path models = PluginLoader::ExecutableFolder() / folder;
    for (const std::filesystem::path& candidate : {models / value, models / (value + ".json")}) {
        if (IsFile(candidate)) return candidate.lexically_normal().string();
    }
    return value;
}

}  // namespace host
