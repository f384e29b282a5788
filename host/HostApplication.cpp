// Start-up and shut-down of the host, in the order the real host application follows.
#include "HostApplication.h"

#include <filesystem>
#include <system_error>

#include "CModule.h"
#include "HostText.h"
#include "Trace.h"
#include "platform/Registry.h"
#include "platform/Utf8.h"
#include "ui/Window.h"
#include "ui/Wnd.h"

namespace host {

namespace {

// Why the profile refused a write, from the registry's answer.
std::string RefusalReason(long status) {
    const std::string code = " (error " + std::to_string(status) + ")";
    switch (status) {
        case plat::reg::kInvalidParameter:
            return "the store cannot hold the name" + code;
        case plat::reg::kAccessDenied:
            return "access denied" + code;
        case plat::reg::kStoreFailure:
            return "the store could not be written" + code;
        default:
            return "error " + std::to_string(status);
    }
}

// A deletion answered "missing" or "holds further sections" loses nothing; any other refusal
// does.
bool IsLoss(bool deletion, long status) {
    return !deletion || (status != plat::reg::kFileNotFound && status != plat::reg::kAccessDenied);
}

}  // namespace

bool OpenProfile(const std::string& path, bool makeFolder, bool mustExist, std::string* error) {
#if !defined(_WIN32)
    // On Windows the store is a registry key named after the path, and no file is made.
    std::error_code ec;
    const std::filesystem::path profile(path);
    if (makeFolder && profile.has_parent_path())
        std::filesystem::create_directories(profile.parent_path(), ec);
    if (ec) {
        *error = "cannot create the profile's folder " + profile.parent_path().string() + ": " +
                 ec.message();
        return false;
    }
#else
    (void)makeFolder;
#endif
    std::string why;  // names the path
    const auto access =
        mustExist ? plat::reg::StoreAccess::Existing : plat::reg::StoreAccess::OpenOrCreate;
    if (!plat::reg::OpenStore(path, &why, access)) {
        *error = "cannot open the profile " + why;
        return false;
    }
    return true;
}

HostApplication::HostApplication(Trace& trace, std::ostream& banner)
    : m_trace(trace), m_banner(banner) {}

HostApplication::~HostApplication() {
    Shutdown();
}

HostApplication::StartResult HostApplication::Start(const HostOptions& options,
                                                    std::string* error) {
    if (options.profileInMemory) {
        plat::reg::UseMemoryStore();
    } else {
        if (!OpenProfile(options.profilePath, options.makeProfileFolder, false, error))
            return StartResult::BadInput;
        m_profileOpen = true;
    }
    if (!options.cameraAsItStands && !m_camera.Load(options.cameraPath, error))
        return StartResult::BadInput;
    // The application object exists before any plug-in is loaded, as in the real host.
    plat::AfxSetApp(this);
    if (options.linkedPlugin)
        m_plugin.UseLinked(*options.linkedPlugin);
    else if (!m_plugin.Load(options.pluginPath, error))
        return StartResult::BadInput;

    m_banner << "plug-in: " << plat::ToUtf8(m_plugin.Name()) << '\n'
             << "file: " << plat::ToUtf8(m_plugin.FileName()) << '\n';
    std::wstring info = m_plugin.Info();
    for (size_t at = 0; (at = info.find(L"\r\n", at)) != std::wstring::npos;) info.erase(at, 1);
    m_banner << "description:\n" << plat::ToUtf8(info) << "\n\n";
    m_banner.flush();

    m_setup = std::make_unique<HostSetup>(options.setupName, &m_setupManager, m_trace);
    m_setupManager.m_setups.push_back(m_setup.get());
    m_setupManager.UpdateActiveSetup();
    m_dialogHost = std::make_unique<DialogHost>(m_trace);
    ui::SetDataExchangeFailureHandler(
        [this](const ui::DataExchangeFailure& failure) { m_trace.Message(failure.message); });
    return CreateModule(error) ? StartResult::Ok : StartResult::NoModule;
}

bool HostApplication::CreateModule(std::string* error) {
    m_module = m_plugin.CreateModule();
    if (!m_module) {
        *error = "the plug-in's Initialize made no module";
        return false;
    }
    m_setup->AddModule(m_module);
    m_module->SetHosts(m_setup.get(), m_dialogHost.get());
    m_module->Attach();
    ui::PumpMessages();
    return true;
}

void HostApplication::DestroyModule() {
    if (!m_module) return;
    m_module->StopEvents();
    m_setup->RemoveModule(m_module);
    delete m_module;
    m_module = nullptr;
    // Messages the module's windows left behind are dropped with them.
    ui::PumpMessages();
}

bool HostApplication::Reload(std::string* error) {
    DestroyModule();
    return CreateModule(error);
}

void HostApplication::Shutdown() {
    DestroyModule();
    ui::SetDataExchangeFailureHandler(nullptr);
    m_dialogHost.reset();
    if (m_setup) {
        m_setupManager.m_setups.remove(m_setup.get());
        m_setupManager.UpdateActiveSetup();
        m_setup.reset();
    }
    if (plat::AfxGetApp() == this) plat::AfxSetApp(nullptr);
    ui::CWnd::FreeTemporaryWindows();
    m_plugin.Unload();
    // Folds the store's log back into its file, so the profile is one file again.
    if (m_profileOpen) plat::reg::CloseStore();
    m_profileOpen = false;
}

bool HostApplication::WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value) {
    const bool written = plat::CWinApp::WriteProfileInt(section, entry, value);
    if (section && entry) {
        const std::wstring text = std::to_wstring(value);
        TraceProfileWrite(section, entry, &text, written);
    }
    return written;
}

bool HostApplication::WriteProfileString(const wchar_t* section, const wchar_t* entry,
                                         const wchar_t* value) {
    const bool written = plat::CWinApp::WriteProfileString(section, entry, value);
    if (section) {
        const std::wstring text = value ? value : L"";
        TraceProfileWrite(section, entry, value ? &text : nullptr, written);
    }
    return written;
}

void HostApplication::TraceProfileWrite(const wchar_t* section, const wchar_t* entry,
                                        const std::wstring* value, bool written) {
    const long status = LastProfileStatus();
    if (written || !IsLoss(!entry || !value, status)) {
        m_trace.Profile(section, entry, value);
        return;
    }
    ++m_lostProfileWrites;
    const std::string reason = RefusalReason(status);
    m_trace.Profile(section, entry, value, &reason);
}

}  // namespace host
