// A plug-in library loaded by path and reached through its four exports only.
#pragma once

#include <filesystem>
#include <string>

class CModule;

namespace host {

// The four entry points of a plug-in.
struct PluginExports {
    const wchar_t* (*getDLLName)() = nullptr;
    const wchar_t* (*getName)() = nullptr;
    const wchar_t* (*getInfo)() = nullptr;
    CModule* (*initialize)() = nullptr;
};

class PluginLoader {
public:
    PluginLoader() = default;
    ~PluginLoader();
    PluginLoader(const PluginLoader&) = delete;
    PluginLoader& operator=(const PluginLoader&) = delete;

    // Loads the library and finds GetDLLName, GetName, GetInfo and Initialize; on failure
    // nothing stays loaded and `error` says which file or export is missing.
    bool Load(const std::string& path, std::string* error);
    // Takes a plug-in linked into the program itself (for in-process tools such as fuzzers).
    void UseLinked(const PluginExports& exports);
    // Every module the library made must have been destroyed first: their code lives in it.
    void Unload();
    bool IsLoaded() const { return m_initialize != nullptr; }
    // Where the running program's file is, where the plug-in is looked for by default.
    static std::filesystem::path ExecutableFolder();

    // The library's static texts.
    const wchar_t* Name() const { return m_getName(); }
    const wchar_t* FileName() const { return m_getDLLName(); }
    const wchar_t* Info() const { return m_getInfo(); }
    // A new module owned by the caller (destroyed through its virtual destructor), or null.
    CModule* CreateModule() const { return m_initialize(); }

private:
    using TextExport = const wchar_t* (*)();
    using InitializeExport = CModule* (*)();

    void* m_library = nullptr;
    TextExport m_getDLLName = nullptr;
    TextExport m_getName = nullptr;
    TextExport m_getInfo = nullptr;
    InitializeExport m_initialize = nullptr;
};

}  // namespace host
