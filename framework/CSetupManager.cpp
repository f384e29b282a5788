// The host-wide setup manager: all setups, the user variables every setup's scripts share, and
// the playback synchronisation record.
#include "CSetupManager.h"

#include <platform/Application.h>
#include <platform/DebugOutput.h>
#include <platform/Text.h>

#include "CScriptVariable.h"
#include "CSetup.h"
#include "CVarBool.h"
#include "CVarUINT.h"

namespace {

// Stored booleans are 0 or 1; this default marks a missing value, which loads nothing.
constexpr int kMissingBool = 2;

}  // namespace

CSetupManager::CSetupManager() : m_pActiveSetup(nullptr) {}

CSetupManager::~CSetupManager() {
    DeleteUserVariables();
}

void CSetupManager::DeleteUserVariables() {
    while (!m_userVariables.empty()) {
        CScriptVariable* variable = m_userVariables.back();
        m_userVariables.pop_back();
        delete variable;
    }
}

CSetup* CSetupManager::FindSetup(std::wstring name) {
    for (CSetup* setup : m_setups) {
        if (!setup) continue;
        const wchar_t* setupName = setup->GetName();
        if (setupName && name == setupName) return setup;
    }
    return nullptr;
}

CScriptVariable* CSetupManager::FindUserVariable(std::wstring name) {
    for (CScriptVariable* variable : m_userVariables) {
        if (variable && variable->GetName() == name) return variable;
    }
    return nullptr;
}

void CSetupManager::UpdateActiveSetup() {
    m_pActiveSetup = nullptr;
    for (CSetup* setup : m_setups) {
        if (setup && setup->IsActive()) {
            m_pActiveSetup = setup;
            return;
        }
    }
}

bool CSetupManager::IsStorableName(const std::wstring& name) {
    return !name.empty() && name.size() <= plat::reg::kMaxKeyNameChars &&
           name.find(L'\\') == std::wstring::npos;
}

std::vector<std::wstring> CSetupManager::EnumerateSubkeyNames(plat::reg::HKey key,
                                                              EnumKeyFn enumKey) {
    std::vector<std::wstring> names;
    wchar_t buffer[kEnumNameChars];
    for (uint32_t index = 0;; ++index) {
        uint32_t chars = kEnumNameChars;
        const plat::reg::Status status = enumKey(key, index, buffer, &chars);
        if (status == plat::reg::kSuccess) {
            if (chars > 0 && chars < kEnumNameChars) names.emplace_back(buffer, chars);
        } else if (status != plat::reg::kMoreData) {
            // No more items, or the key went away or cannot be read: either way nothing follows.
            break;
        }
        if (index == UINT32_MAX) break;
    }
    return names;
}

void CSetupManager::LoadVariables() {
    DeleteUserVariables();

    plat::CWinApp* app = plat::AfxGetApp();
    plat::reg::KeyGuard key;
    if (!app || plat::reg::CreateKey(kVariablesKey, key.out()) != plat::reg::kSuccess) return;

    for (const std::wstring& name : EnumerateSubkeyNames(key.get())) {
        const std::wstring section = kSectionPrefix + name;
        const std::wstring type = app->GetProfileString(section.c_str(), kTypeEntry, L"");
        const std::wstring description =
            app->GetProfileString(section.c_str(), kDescriptionEntry, L"");

        CScriptVariable* variable = nullptr;
        if (type == CVarBool::kTypeName) {
            const int value = app->GetProfileInt(section.c_str(), kValueEntry, kMissingBool);
            if (value == 0 || value == 1) variable = new CVarBool(value == 1);
        } else if (type == CVarUINT::kTypeName) {
            // The stored number is 32 bits; above INT_MAX it comes back negative and converts back.
            variable = new CVarUINT(
                static_cast<uint32_t>(app->GetProfileInt(section.c_str(), kValueEntry, 0)));
        }
        if (!variable) continue;
        variable->SetNameAndDescription(name, description);
        m_userVariables.push_back(variable);
    }
}

void CSetupManager::SaveVariables() {
    plat::CWinApp* app = plat::AfxGetApp();
    // Without a profile nothing could be written back, so the stored tree is left alone.
    if (!app) return;

    {
        plat::reg::KeyGuard root;
        if (plat::reg::CreateKey(kRootKey, root.out()) == plat::reg::kSuccess) {
            plat::reg::DeleteTree(root.get(), kVariablesSubkey);
        }
    }

    for (CScriptVariable* variable : m_userVariables) {
        if (!variable) continue;
        const std::wstring type = variable->GetType();
        const bool isBool = type == CVarBool::kTypeName;
        if (!isBool && type != CVarUINT::kTypeName) continue;

        // The type name picks the form; an object that only claims the type is not written.
        int value = 0;
        if (isBool) {
            const auto* boolean = dynamic_cast<const CVarBool*>(variable);
            if (!boolean) continue;
            value = boolean->GetValue() ? 1 : 0;
        } else {
            const auto* number = dynamic_cast<const CVarUINT*>(variable);
            if (!number) continue;
            value = static_cast<int>(number->GetValue());
        }

        const std::wstring name = variable->GetName();
        // A backslash would nest the section where loading never looks, and an empty name would
        // write into the list's own key.
        if (!IsStorableName(name)) {
            if (plat::DebugOutputEnabled())
                plat::OutputDebugText(plat::Format(kNameNotStorable, name));
            continue;
        }

        const std::wstring section = kSectionPrefix + name;
        const std::wstring description = variable->GetDescription();
        app->WriteProfileString(section.c_str(), kTypeEntry, type.c_str());
        app->WriteProfileString(section.c_str(), kDescriptionEntry, description.c_str());
        app->WriteProfileInt(section.c_str(), kValueEntry, value);
    }
}

void CSetupManager::NotifyAllSetupsA() {
    for (CSetup* setup : m_setups) {
        if (setup) setup->OnNotifyA();
    }
}

void CSetupManager::NotifyAllSetupsB() {
    for (CSetup* setup : m_setups) {
        if (setup) setup->OnNotifyB();
    }
}

void CSetupManager::NotifyAllSetupsC() {
    for (CSetup* setup : m_setups) {
        if (setup) setup->OnNotifyC();
    }
}
