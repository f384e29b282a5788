// The application object of the UI framework, with its profile under the registry tree.
#pragma once

#include <string>

namespace plat {

// The host's application object. Profile sections are subkey paths under the profile root
// (HKEY_CURRENT_USER\Software\Talverd\Keltaro5); integers are REG_DWORD values and texts REG_SZ.
class CWinApp {
public:
    static constexpr const wchar_t* kDefaultProfileRoot = L"Software\\Talverd\\Keltaro5";

    explicit CWinApp(std::wstring profileRoot = kDefaultProfileRoot);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The stored value, or the default when it is missing or of the other type. A DWORD reads
    // as the int of the same bits. Reading creates nothing.
    virtual int GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue);
    virtual std::wstring GetProfileString(const wchar_t* section, const wchar_t* entry,
                                          const wchar_t* defaultValue);
    // Creates the section when missing. WriteProfileString with a null text deletes the entry,
    // and with a null entry deletes the whole section with its values; as on the platform, a
    // section that holds further sections is not deleted (false).
    virtual bool WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value);
    virtual bool WriteProfileString(const wchar_t* section, const wchar_t* entry,
                                    const wchar_t* value);

    const std::wstring& ProfileRoot() const { return m_profileRoot; }
    // The registry's answer (plat::reg::Status) to the last profile write or deletion of this
    // thread, so that a caller can tell why one failed; 0 after one that succeeded.
    static long LastProfileStatus();

private:
    std::wstring SectionPath(const wchar_t* section) const;
    std::wstring m_profileRoot;
};

// The process-wide current application that plug-ins reach; the host installs it.
// Null until one is installed; an application that is destroyed while installed uninstalls itself.
CWinApp* AfxGetApp();
void AfxSetApp(CWinApp* app);

}  // namespace plat
