// Another copy's code for the shared classes: the operations as the published algorithms give
// them, recursive where they are written recursively, and nothing cached beside the members.
#include "OtherCopy.h"

#include <mutex>

#include "CScriptCommandInfo.h"
#include "CSetup.h"
#include "CSetupManager.h"

namespace other {

CScriptVariable::~CScriptVariable() = default;
std::wstring CScriptVariable::GetValueText() const {
    return {};
}

CVarUINT::CVarUINT(std::wstring name, uint32_t value) : m_nValue(value) {
    m_strName = std::move(name);
    m_strType = L"CVarUINT";
}
std::wstring CVarUINT::GetValueText() const {
    return std::to_wstring(m_nValue);
}

CParamInfo::~CParamInfo() = default;
CCommandParam::~CCommandParam() = default;
CScriptCommandInfo::~CScriptCommandInfo() = default;

CScriptCommand::CScriptCommand(CScriptCommandInfo* info) : m_pInfo(info) {
    m_childCursor = m_children.begin();
}

CScriptCommand::~CScriptCommand() {
    for (CScriptCommand* child : m_children) delete child;
}

void CScriptCommand::AddChild(CScriptCommand* command, uint32_t depth) {
    if (depth != 0 && !m_children.empty()) {
        m_children.back()->AddChild(command, depth - 1);
    } else {
        m_children.push_back(command);
    }
}

bool CScriptCommand::Execute(uint32_t argument) {
    ::CModule* module = m_pInfo ? m_pInfo->m_pModule : nullptr;
    auto* params = reinterpret_cast<std::vector<::CCommandParam>*>(&m_params);
    if (!module || !module->ExecuteCommand(m_pInfo->m_nId, params, argument)) return false;
    for (m_childCursor = m_children.begin(); m_childCursor != m_children.end(); ++m_childCursor) {
        (*m_childCursor)->Execute(argument);
    }
    return true;
}

CScriptEvent::CScriptEvent(const wchar_t* name, int32_t id, ::CModule* module)
    : m_strName(name), m_nId(id), m_pModule(module), m_cursor(m_rootCommands.end()) {}

CScriptEvent::~CScriptEvent() {
    DeleteCommands();
}

void CScriptEvent::DeleteCommands() {
    for (CScriptCommand* command : m_rootCommands) delete command;
    m_rootCommands.clear();
    m_cursor = m_rootCommands.end();
}

void CScriptEvent::AddLine(std::wstring line) {
    m_lines.push_back(std::move(line));
    Compile();
}

// Enough of the line syntax for the tests: "*" for depth, a command of the event's own module,
// and parameters that are user variables ("USERVAR:Name").
CScriptCommand* CScriptEvent::CompileLine(const std::wstring& line, uint32_t& depth) {
    std::vector<std::wstring> tokens;
    size_t start = 0;
    while (start < line.size()) {
        const size_t comma = line.find(L',', start);
        tokens.push_back(line.substr(start, comma == std::wstring::npos ? comma : comma - start));
        if (comma == std::wstring::npos) break;
        start = comma + 1;
    }
    if (tokens.empty()) return nullptr;
    depth = 0;
    while (depth < tokens[0].size() && tokens[0][depth] == L'*') ++depth;
    auto* info =
        reinterpret_cast<CScriptCommandInfo*>(m_pModule->FindCommand(tokens[0].substr(depth)));
    if (!info) return nullptr;
    auto* command = new CScriptCommand(info);
    CSetupManager* manager =
        reinterpret_cast<CSetupManager*>(m_pModule->GetSetup()->GetSetupManager());
    for (size_t t = 1; t < tokens.size(); ++t) {
        CCommandParam param;
        param.m_pVariable = manager->FindUserVariable(tokens[t].substr(tokens[t].find(L':') + 1));
        command->m_params.push_back(param);
    }
    return command;
}

bool CScriptEvent::Compile() {
    std::lock_guard<plat::CriticalSection> guard(m_lock);
    DeleteCommands();
    bool compiled = true;
    for (const std::wstring& line : m_lines) {
        uint32_t depth = 0;
        CScriptCommand* command = CompileLine(line, depth);
        if (!command) {
            compiled = false;
        } else if (depth > 0 && !m_rootCommands.empty()) {
            m_rootCommands.back()->AddChild(command, depth - 1);
        } else {
            m_rootCommands.push_back(command);
        }
    }
    return compiled;
}

bool CScriptEvent::Fire(uint32_t argument) {
    std::lock_guard<plat::CriticalSection> guard(m_lock);
    if (!m_pModule->TryBeginEvent()) return true;
    m_pModule->OnEventBegin(m_nId, argument);
    for (m_cursor = m_rootCommands.begin(); m_cursor != m_rootCommands.end(); ++m_cursor) {
        (*m_cursor)->Execute(argument);
    }
    m_pModule->OnEventEnd(m_nId, argument);
    m_pModule->EndEvent();
    return true;
}

CPlaybackSynchData::~CPlaybackSynchData() = default;

CSetupManager::~CSetupManager() {
    for (::CScriptVariable* variable : m_userVariables) {
        delete reinterpret_cast<CScriptVariable*>(variable);
    }
}

::CScriptVariable* CSetupManager::FindUserVariable(const std::wstring& name) const {
    for (::CScriptVariable* variable : m_userVariables) {
        if (reinterpret_cast<CScriptVariable*>(variable)->m_strName == name) return variable;
    }
    return nullptr;
}

}  // namespace other
