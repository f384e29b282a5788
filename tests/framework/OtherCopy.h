// The shared framework classes as another module's copy declares them: written from the published
// member tables alone (same types, same order, a virtual destructor first), with code of its own
// in OtherCopy.cpp that does what that copy's operations do. Objects cross between this copy and
// ours by pointer, as they cross between the host and a module.
#pragma once

#include <platform/Sync.h>

#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "CModule.h"
#include "EventLink.h"

class CSetup;
class CDialogHost;

namespace other {

struct CScriptVariable {
    virtual ~CScriptVariable();
    virtual std::wstring GetValueText() const;
    std::wstring m_strName;
    std::wstring m_strDescription;
    std::wstring m_strType;
};

struct CVarUINT : CScriptVariable {
    CVarUINT(std::wstring name, uint32_t value);
    std::wstring GetValueText() const override;
    uint32_t m_nValue = 0;
};

struct CVarBool : CScriptVariable {
    bool m_bValue = true;
};

struct CParamInfo {
    virtual ~CParamInfo();
    std::wstring m_strType;
    std::wstring m_strName;
    std::wstring m_strDescription;
};

struct CCommandParam {
    virtual ~CCommandParam();
    ::CScriptVariable* m_pVariable = nullptr;
    std::wstring m_strText;
    bool m_bIsIndex = false;
    int32_t m_nIndex = 0;
};

struct CScriptCommand;

struct CScriptCommandInfo {
    virtual ~CScriptCommandInfo();
    std::wstring m_strName;
    std::wstring m_strDescription;
    std::wstring m_strComment;
    std::vector<CParamInfo> m_paramInfos;
    int32_t m_nId = -1;
    bool m_bUserFlag = false;
    ::CModule* m_pModule = nullptr;
};

struct CScriptCommand {
    explicit CScriptCommand(CScriptCommandInfo* info = nullptr);
    virtual ~CScriptCommand();
    void AddChild(CScriptCommand* command, uint32_t depth);
    bool Execute(uint32_t argument);

    CScriptCommandInfo* m_pInfo;
    int32_t m_nTag = 0;
    std::list<CScriptCommand*>::iterator m_childCursor;
    std::list<CScriptCommand*> m_children;
    std::vector<CCommandParam> m_params;
};

struct CScriptEvent {
    CScriptEvent(const wchar_t* name, int32_t id, ::CModule* module);
    virtual ~CScriptEvent();
    void AddLine(std::wstring line);
    bool Compile();
    bool Fire(uint32_t argument);

    plat::CriticalSection m_lock;
    std::wstring m_strName;
    std::wstring m_strDescription;
    int32_t m_nId;
    std::vector<CParamInfo> m_paramInfos;
    std::list<std::wstring> m_defaultLines;
    ::CModule* m_pModule;
    std::list<CScriptCommand*> m_rootCommands;
    std::list<CScriptCommand*>::iterator m_cursor;
    std::list<std::wstring> m_lines;

private:
    CScriptCommand* CompileLine(const std::wstring& line, uint32_t& depth);
    void DeleteCommands();
};

struct CPlaybackSynchData {
    virtual ~CPlaybackSynchData();
    plat::CriticalSection m_lock;
    int32_t m_nTag = 0;
    int32_t m_startMajor = 0;
    uint16_t m_startMinor1 = 0;
    uint16_t m_startMinor2 = 0;
    int32_t m_endMajor = 0;
    uint16_t m_endMinor1 = 0;
    uint16_t m_endMinor2 = 0;
    uint32_t m_nOrderKey = 0;
};

struct CSetupManager {
    virtual ~CSetupManager();
    ::CScriptVariable* FindUserVariable(const std::wstring& name) const;

    CPlaybackSynchData m_synchData;
    ::CSetup* m_pActiveSetup = nullptr;
    std::list<::CSetup*> m_setups;
    std::list<::CScriptVariable*> m_userVariables;
};

// The module base's data after its virtual table; the layout test compares it with ours.
struct CModuleData {
    virtual ~CModuleData() = default;
    std::vector<::CScriptEvent*> m_events;
    std::vector<::CScriptCommandInfo*> m_commands;
    std::vector<::CScriptVariable*> m_variables;
    std::list<::EventLink> m_eventLinks;
    ::CSetup* m_pSetup = nullptr;
    ::CDialogHost* m_pDialogHost = nullptr;
    std::wstring m_strName;
    std::wstring m_strFileName;
    bool m_bHostFlag = true;
    bool m_bAcceptEvents = true;
    int32_t m_nRunningEvents = 0;
    plat::CriticalSection m_lock;
};

struct EventLink {
    std::wstring m_strScript;
    std::wstring m_strModule;
    std::wstring m_strEvent;
};

struct CModuleDLL {
    virtual ~CModuleDLL() = default;
};

// Our pointer type for one of this copy's objects, and back, as a pointer crosses the boundary.
template <typename Ours, typename Theirs>
Ours* AsOurs(Theirs* object) {
    return reinterpret_cast<Ours*>(object);
}
template <typename Theirs, typename Ours>
Theirs* AsTheirs(Ours* object) {
    return reinterpret_cast<Theirs*>(object);
}

}  // namespace other
