// The host application: its profile, setup manager, setup, dialog host, camera and the loaded
// plug-in with its module, from start-up to shut-down.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "CSetupManager.h"
#include "DialogHost.h"
#include "HostSetup.h"
#include "PluginLoader.h"
#include "SimCamera.h"
#include "platform/Application.h"

class CModule;

namespace host {

class Trace;

struct HostOptions {
    std::string pluginPath;   // the plug-in library
    std::string profilePath;  // the profile's registry store (on Windows, names a registry key)
    bool makeProfileFolder = false;  // the default profile's folder is made when missing
    std::string cameraPath;          // a camera model file; empty for the built-in camera
    std::wstring setupName = L"Default";
    // For in-process tools: a plug-in linked into the program, used instead of pluginPath; a
    // profile held in memory only, instead of profilePath; the camera the library holds as it
    // stands, instead of loading cameraPath.
    const PluginExports* linkedPlugin = nullptr;
    bool profileInMemory = false;
    bool cameraAsItStands = false;
};

// Opens the profile's store at `path`, making its folder first when `makeFolder` is set; false,
// with "cannot open the profile PATH: REASON", when it cannot be used.
bool OpenProfile(const std::string& path, bool makeFolder, bool mustExist, std::string* error);

class HostApplication : public plat::CWinApp {
public:
    // The plug-in's names and description are printed to `banner` on start.
    HostApplication(Trace& trace, std::ostream& banner);
    ~HostApplication() override;

    enum class StartResult {
        Ok,
        BadInput,  // a profile, camera model or plug-in file that cannot be used
        NoModule,  // the plug-in loaded but made no module
    };
    // Opens the profile, loads the camera and the plug-in, prints the plug-in's names and
    // creates and attaches its module; on failure `error` says why.
    StartResult Start(const HostOptions& options, std::string* error);
    // Destroys the module (which saves its settings), unloads the plug-in and closes the profile.
    void Shutdown();
    // Destroys the module and creates and attaches a new one on the same profile.
    bool Reload(std::string* error);
    // Destroys the module (which saves its settings); the plug-in stays loaded.
    void DestroyModule();

    // Every profile write is traced, and one the profile refuses is counted.
    bool WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value) override;
    bool WriteProfileString(const wchar_t* section, const wchar_t* entry,
                            const wchar_t* value) override;

    int LostProfileWrites() const { return m_lostProfileWrites; }
    CModule* Module() const { return m_module; }
    HostSetup& Setup() { return *m_setup; }
    const HostSetup& Setup() const { return *m_setup; }
    DialogHost& Dialogs() { return *m_dialogHost; }
    const DialogHost& Dialogs() const { return *m_dialogHost; }
    const SimCamera& Camera() const { return m_camera; }

private:
    bool CreateModule(std::string* error);
    void TraceProfileWrite(const wchar_t* section, const wchar_t* entry, const std::wstring* value,
                           bool written);

    Trace& m_trace;
    std::ostream& m_banner;
    SimCamera m_camera;
    PluginLoader m_plugin;
    CSetupManager m_setupManager;
    std::unique_ptr<HostSetup> m_setup;
    std::unique_ptr<DialogHost> m_dialogHost;
    CModule* m_module = nullptr;
    int m_lostProfileWrites = 0;
    bool m_profileOpen = false;
};

}  // namespace host
