// The host-wide setup manager: all setups, the user variables every setup's scripts share, and
// the playback synchronisation record.
#pragma once

#include <platform/Registry.h>

#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "CPlaybackSynchData.h"

class CScriptVariable;
class CSetup;

// The host walks these members directly: their order is shared with the host and fixed. The host
// appends to both lists itself; the manager owns the user variables, not the setups.
class CSetupManager {
public:
    static constexpr const wchar_t* kVariablesKey = L"Software\\Talverd\\Keltaro5\\Variables";
    static constexpr const wchar_t* kRootKey = L"Software\\Talverd\\Keltaro5";
    static constexpr const wchar_t* kVariablesSubkey = L"Variables";
    static constexpr const wchar_t* kSectionPrefix = L"Variables\\";
    static constexpr const wchar_t* kTypeEntry = L"Type";
    static constexpr const wchar_t* kDescriptionEntry = L"Description";
    static constexpr const wchar_t* kValueEntry = L"Value";
    // Debugger line for a user variable whose name no stored section can carry.
    static constexpr const wchar_t* kNameNotStorable =
        L"User variable not saved, unusable name : '%s'";
    // Subkey names as the enumeration hands them back: 260 characters with the terminator.
    static constexpr uint32_t kEnumNameChars = 260;

    CSetupManager();
    virtual ~CSetupManager();
    CSetupManager(const CSetupManager&) = delete;
    CSetupManager& operator=(const CSetupManager&) = delete;

    // Exact, case-sensitive name matches, first in list order; null when none.
    CSetup* FindSetup(std::wstring name);
    CScriptVariable* FindUserVariable(std::wstring name);

    void UpdateActiveSetup();
    CSetup* GetActiveSetup() const { return m_pActiveSetup; }

    // Replaces the user variables by the stored ones (old objects are deleted first).
    void LoadVariables();
    // Replaces the stored user variables by the current list.
    void SaveVariables();

    void NotifyAllSetupsA();
    void NotifyAllSetupsB();
    void NotifyAllSetupsC();

    // Whether a user variable of this name can be stored as its own section and found again.
    static bool IsStorableName(const std::wstring& name);

    // The names of the subkeys of `key`, in enumeration order. An index whose name cannot be read
    // (for example one too long for the buffer) is skipped; an error that means the key itself is
    // unusable ends the enumeration. `enumKey` is the registry's enumeration unless a test stands
    // in for it.
    using EnumKeyFn = plat::reg::Status (*)(plat::reg::HKey, uint32_t, wchar_t*, uint32_t*);
    static std::vector<std::wstring> EnumerateSubkeyNames(plat::reg::HKey key,
                                                          EnumKeyFn enumKey = &plat::reg::EnumKey);

    CPlaybackSynchData m_synchData;
    CSetup* m_pActiveSetup;
    std::list<CSetup*> m_setups;
    std::list<CScriptVariable*> m_userVariables;

private:
    void DeleteUserVariables();
};
