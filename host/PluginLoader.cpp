// Loading a plug-in library with the platform's loader and finding its exports by name.
#include "PluginLoader.h"

#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace host {

namespace {

#if defined(_WIN32)
void* OpenLibrary(const std::string& path, std::string* why) {
    HMODULE library = LoadLibraryW(std::filesystem::path(path).wstring().c_str());
    if (!library) *why = "the loader failed with error " + std::to_string(GetLastError());
    return reinterpret_cast<void*>(library);
}
void* FindExport(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
void CloseLibrary(void* library) {
    FreeLibrary(static_cast<HMODULE>(library));
}
#else
void* OpenLibrary(const std::string& path, std::string* why) {
    // dlopen searches the library path for a bare name; a path keeps it to that file.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* message = dlerror();
        *why = message ? message : "the loader gave no reason";
    }
    return library;
}
void* FindExport(void* library, const char* name) {
    return dlsym(library, name);
}
void CloseLibrary(void* library) {
    dlclose(library);
}
#endif

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
#if defined(_WIN32)
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    return std::filesystem::path(std::wstring(buffer, length)).parent_path();
#else
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : self.parent_path();
#endif
}

void PluginLoader::Unload() {
    if (!m_library) return;
    CloseLibrary(m_library);
    m_library = nullptr;
    m_getDLLName = m_getName = m_getInfo = nullptr;
    m_initialize = nullptr;
}

}  // namespace host
