// The application object's profile over the registry tree, and the process's current application.
#include "platform/Application.h"

#include <atomic>

#include "platform/Registry.h"

namespace plat {

namespace {
std::atomic<CWinApp*> g_currentApp{nullptr};
thread_local reg::Status t_lastProfileStatus = reg::kSuccess;

// Keeps the answer for LastProfileStatus and tells whether it is a success.
bool Succeeded(reg::Status status) {
    t_lastProfileStatus = status;
    return status == reg::kSuccess;
}
}  // namespace

long CWinApp::LastProfileStatus() {
    return t_lastProfileStatus;
}

CWinApp::CWinApp(std::wstring profileRoot) : m_profileRoot(std::move(profileRoot)) {}

CWinApp::~CWinApp() {
    // An application going away must not stay reachable through AfxGetApp.
    CWinApp* self = this;
    g_currentApp.compare_exchange_strong(self, nullptr);
}

std::wstring CWinApp::SectionPath(const wchar_t* section) const {
    std::wstring path = m_profileRoot;
    if (section && *section) {
        if (!path.empty()) path.push_back(L'\\');
        path.append(section);
    }
    return path;
}

int CWinApp::GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue) {
    if (!section || !entry) return defaultValue;
    reg::KeyGuard key;
    if (reg::OpenKey(SectionPath(section), key.out()) != reg::kSuccess) return defaultValue;
    uint32_t value = 0;
    if (reg::GetDwordValue(key.get(), entry, &value) != reg::kSuccess) return defaultValue;
    return static_cast<int>(value);  // the signed number of the same bits
}

std::wstring CWinApp::GetProfileString(const wchar_t* section, const wchar_t* entry,
                                       const wchar_t* defaultValue) {
    std::wstring fallback = defaultValue ? defaultValue : L"";
    if (!section || !entry) return fallback;
    reg::KeyGuard key;
    if (reg::OpenKey(SectionPath(section), key.out()) != reg::kSuccess) return fallback;
    std::wstring value;
    if (reg::GetStringValue(key.get(), entry, &value) != reg::kSuccess) return fallback;
    return value;
}

bool CWinApp::WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value) {
    if (!section || !entry) return Succeeded(reg::kInvalidParameter);
    reg::KeyGuard key;
    if (!Succeeded(reg::CreateKey(SectionPath(section), key.out()))) return false;
    return Succeeded(reg::SetDwordValue(key.get(), entry, static_cast<uint32_t>(value)));
}

bool CWinApp::WriteProfileString(const wchar_t* section, const wchar_t* entry,
                                 const wchar_t* value) {
    if (!section) return Succeeded(reg::kInvalidParameter);
    if (!entry) {
        // As the platform's profile does: the section goes with its values, but a section that
        // holds further sections is left alone.
        reg::KeyGuard root;
        if (!Succeeded(reg::OpenKey(m_profileRoot, root.out()))) return false;
        if (!*section) return Succeeded(reg::kInvalidParameter);
        return Succeeded(reg::DeleteKey(root.get(), section));
    }
    reg::KeyGuard key;
    if (!value) {
        if (!Succeeded(reg::OpenKey(SectionPath(section), key.out()))) return false;
        return Succeeded(reg::DeleteValue(key.get(), entry));
    }
    if (!Succeeded(reg::CreateKey(SectionPath(section), key.out()))) return false;
    return Succeeded(reg::SetStringValue(key.get(), entry, value));
}

CWinApp* AfxGetApp() {
    return g_currentApp.load(std::memory_order_acquire);
}

void AfxSetApp(CWinApp* app) {
    g_currentApp.store(app, std::memory_order_release);
}

}  // namespace plat
