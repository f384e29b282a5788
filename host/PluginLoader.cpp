// Loading a plug-in library with the platform's loader and finding its exports by name.
#include "PluginLoader.h"

#include <filesystem>
#include <system_error>

#include "HostPlatform.h"

namespace host {

namespace {

template <class Function>
Function As(void* symbol) {
    return reinterpret_cast<Function>(symbol);
}

}  // namespace

PluginLoader::~PluginLoader() {
    Unload();
}

bool PluginLoader::Load(const std::string& path, std::string* error) {
    Unload();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        *error = "plug-in library not found: " + path;
        return false;
    }
    if (std::filesystem::is_directory(path, ec)) {
        *error = "plug-in library is a folder, not a file: " + path;
        return false;
    }
    std::string why;
    void* library = OpenLibrary(path, &why);
    if (!library) {
        *error = "cannot load plug-in library " + path + ": " + why;
        return false;
    }
    struct Export {
        const char* name;
        void* symbol;
    };
    Export exports[] = {{"GetDLLName", nullptr},
                        {"GetName", nullptr},
                        {"GetInfo", nullptr},
                        {"Initialize", nullptr}};
    for (Export& e : exports) {
        e.symbol = FindExport(library, e.name);
        if (!e.symbol) {
            CloseLibrary(library);
            *error = "plug-in library " + path + " does not export " + e.name;
            return false;
        }
    }
    m_library = library;
    m_getDLLName = As<TextExport>(exports[0].symbol);
    m_getName = As<TextExport>(exports[1].symbol);
    m_getInfo = As<TextExport>(exports[2].symbol);
    m_initialize = As<InitializeExport>(exports[3].symbol);
    return true;
}

std::filesystem::path PluginLoader::ExecutableFolder() {
    return ExecutableFile().parent_path();
}

void PluginLoader::UseLinked(const PluginExports& exports) {
    Unload();
    m_getDLLName = exports.getDLLName;
    m_getName = exports.getName;
    m_getInfo = exports.getInfo;
    m_initialize = exports.initialize;
}

void PluginLoader::Unload() {
    if (m_library) CloseLibrary(m_library);
    m_library = nullptr;
    m_getDLLName = m_getName = m_getInfo = nullptr;
    m_initialize = nullptr;
}

}  // namespace host
