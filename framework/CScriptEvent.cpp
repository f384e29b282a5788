// A named occasion in a module with a script attached: keeps and stores the lines, compiles them
// into command trees and runs those when the host fires the event.
#include "CScriptEvent.h"

#include <platform/Application.h>
#include <platform/DebugOutput.h>
#include <platform/Registry.h>
#include <platform/Text.h>

#include <climits>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>

#include "CCommandParam.h"
#include "CModule.h"
#include "CScriptCommand.h"
#include "CScriptCommandInfo.h"
#include "CScriptVariable.h"
#include "CSetup.h"
#include "CSetupManager.h"

namespace {

// How many more lines a stored script may miss than it holds before its count is not believed.
constexpr size_t kSpareMissingLines = 64;

// A name the setup hands out may be null; profile sections and messages take it as empty.
const wchar_t* SetupName(CSetup* setup) {
    const wchar_t* name = setup ? setup->GetName() : nullptr;
    return name ? name : L"";
}

}  // namespace

CScriptEvent::Reference CScriptEvent::SplitReference(const std::wstring& token) {
    Reference reference;
    size_t start = 0;
    while (start < token.size() && token[start] == L'*') ++start;
    reference.depth = start > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(start);

    const std::wstring_view rest = std::wstring_view(token).substr(start);
    const size_t last = rest.rfind(L':');
    if (last == std::wstring_view::npos) {
        reference.name = rest;
        return reference;
    }
    reference.name = rest.substr(last + 1);
    const size_t secondLast = last == 0 ? std::wstring_view::npos : rest.rfind(L':', last - 1);
    if (secondLast == std::wstring_view::npos) {
        reference.module = rest.substr(0, last);
    } else {
        reference.module = rest.substr(secondLast + 1, last - secondLast - 1);
        reference.setup = rest.substr(0, secondLast);
    }
    return reference;
}

std::vector<std::wstring> CScriptEvent::SplitLine(const std::wstring& line) {
    std::vector<std::wstring> tokens;
    size_t start = 0;
    while (start < line.size()) {
        const size_t comma = line.find(L',', start);
        if (comma == std::wstring::npos) {
            tokens.push_back(line.substr(start));
            break;
        }
        tokens.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    return tokens;
}

CScriptEvent::CScriptEvent(const wchar_t* name, const wchar_t* description, int32_t id,
                           CModule* module)
    : m_strName(name ? name : L""),
      m_strDescription(description ? description : L""),
      m_nId(id),
      m_pModule(module),
      m_cursor(m_rootCommands.end()) {}

CScriptEvent::~CScriptEvent() {
    DeleteCommands();
}

void CScriptEvent::DeleteCommands() {
    for (CScriptCommand* command : m_rootCommands) delete command;
    m_plan.Clear();
    m_rootCommands.clear();
    m_cursor = m_rootCommands.end();
}

void CScriptEvent::AddParamInfo(CParamInfo info) {
    m_paramInfos.push_back(std::move(info));
}

int32_t CScriptEvent::GetParamInfoCount() const {
    return static_cast<int32_t>(m_paramInfos.size());
}

CParamInfo CScriptEvent::GetParamInfo(uint32_t index) const {
    return index < m_paramInfos.size() ? m_paramInfos[index] : CParamInfo();
}

void CScriptEvent::SaveAsDefault() {
    m_defaultLines = m_lines;
}

void CScriptEvent::ResetToDefault() {
    m_lines = m_defaultLines;
    std::wstring errorText;
    Compile(errorText);
}

bool CScriptEvent::IsDefault() const {
    return m_lines == m_defaultLines;
}

void CScriptEvent::AddLine(std::wstring line) {
    m_lines.push_back(std::move(line));
    std::wstring errorText;
    Compile(errorText);
}

void CScriptEvent::RemoveLine(std::wstring line) {
    m_lines.remove(line);
    std::wstring errorText;
    Compile(errorText);
}

std::wstring CScriptEvent::ScriptSection() const {
    CSetup* setup = m_pModule ? m_pModule->GetSetup() : nullptr;
    if (!setup) return {};
    return plat::Format(kScriptSection, SetupName(setup), m_pModule->GetName(), m_strName);
}

void CScriptEvent::LoadScript() {
    plat::CWinApp* app = plat::AfxGetApp();
    const std::wstring section = ScriptSection();
    if (!app || section.empty()) return;

    const int count = app->GetProfileInt(section.c_str(), kLineCountEntry, -1);
    if (count == -1) return;

    // A line that is not stored loads as empty text. The count is outside data: reading stops
    // once the missing lines outnumber the stored ones by more than a few, so a hostile count
    // costs no more than the section holds, and the missing run it stopped in is left off.
    m_lines.clear();
    size_t stored = 0;
    size_t missing = 0;
    size_t upToLastStored = 0;
    for (int i = 0; i < count; ++i) {
        const std::wstring entry = plat::Format(kLineEntry, i);
        std::wstring line = app->GetProfileString(section.c_str(), entry.c_str(), L"");
        // An empty answer is a stored empty line only if a non-empty default does not show.
        const bool isStored =
            !line.empty() || app->GetProfileString(section.c_str(), entry.c_str(), L"-").empty();
        if (!isStored && ++missing > stored + kSpareMissingLines) {
            m_lines.resize(upToLastStored);
            return;
        }
        m_lines.push_back(std::move(line));
        if (isStored) {
            ++stored;
            upToLastStored = m_lines.size();
        }
    }
}

void CScriptEvent::SaveScript() {
    plat::CWinApp* app = plat::AfxGetApp();
    const std::wstring section = ScriptSection();
    // Without a profile to write to, deleting the stored script would only lose it.
    if (!app || section.empty()) return;

    {
        const std::wstring keyPath =
            plat::Format(kScriptsKey, SetupName(m_pModule->GetSetup()), m_pModule->GetName());
        plat::reg::KeyGuard key;
        // An empty event name would name the key itself and delete every script of the module.
        if (plat::reg::CreateKey(keyPath, key.out()) == plat::reg::kSuccess && !m_strName.empty()) {
            plat::reg::DeleteTree(key.get(), m_strName);
        }
    }
    if (IsDefault()) return;

    const int count =
        m_lines.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(m_lines.size());
    app->WriteProfileInt(section.c_str(), kLineCountEntry, count);
    int i = 0;
    for (const std::wstring& line : m_lines) {
        if (i == count) break;
        app->WriteProfileString(section.c_str(), plat::Format(kLineEntry, i).c_str(), line.c_str());
        ++i;
    }
}

bool CScriptEvent::Compile(std::wstring& errorText) {
    std::lock_guard<plat::CriticalSection> guard(m_lock);
    errorText.clear();
    // Rebuilding now would delete the command that is running.
    if (IsFiring()) return false;

    DeleteCommands();
    // Every line is parsed before any command is built: parsing makes many short-lived
    // allocations, and kept apart from them a tree's commands lie together in memory in the
    // order Fire walks them.
    std::vector<ParsedLine> parsed(m_lines.size());
    size_t i = 0;
    for (const std::wstring& line : m_lines) {
        parsed[i].resolved = ParseLine(line, parsed[i]);
        ++i;
    }
    bool failed = false;
    i = 0;
    for (const std::wstring& line : m_lines) {
        const bool built = BuildCommand(parsed[i]);
        if (!built && !failed) {
            failed = true;
            errorText = line;
        }
        ++i;
    }
    m_plan.Build(m_rootCommands, &m_cursor);
    if (!failed) return true;
    if (plat::DebugOutputEnabled()) plat::OutputDebugText(plat::Format(kLineError, errorText));
    return false;
}

bool CScriptEvent::ParseLine(const std::wstring& line, ParsedLine& parsed) const {
    const std::vector<std::wstring> tokens = SplitLine(line);
    if (tokens.empty()) return true;

    parsed.info = ResolveCommand(tokens[0], parsed.depth);
    if (!parsed.info) return false;

    for (size_t t = 1; t < tokens.size(); ++t) {
        const std::wstring& token = tokens[t];
        bool isEventParam = false;
        for (size_t p = 0; p < m_paramInfos.size() && p <= INT32_MAX; ++p) {
            if (m_paramInfos[p].m_strName == token) {
                parsed.params.emplace_back(static_cast<int32_t>(p));
                isEventParam = true;
                break;
            }
        }
        if (isEventParam) continue;
        CScriptVariable* variable = ResolveVariable(token);
        if (!variable) return false;
        parsed.params.emplace_back(variable);
    }
    return true;
}

bool CScriptEvent::BuildCommand(const ParsedLine& parsed) {
    if (!parsed.info) return parsed.resolved;
    // The command is made before its parameters count, so that a description that cannot make
    // one says so even on a line whose parameters are bad too.
    std::unique_ptr<CScriptCommand> made(parsed.info->CreateCommand());
    if (!made || !parsed.resolved) return false;
    CScriptCommand* command = made.release();
    AttachCommand(command, parsed.depth);
    std::vector<CCommandParam>& params = command->GetParams();
    params.reserve(parsed.params.size());
    for (const CCommandParam& param : parsed.params) params.push_back(param);
    return true;
}

CModule* CScriptEvent::ResolveModule(const Reference& reference) const {
    if (!m_pModule) return nullptr;
    CSetup* setup = m_pModule->GetSetup();
    if (!reference.setup.empty()) {
        CSetupManager* manager = setup ? setup->GetSetupManager() : nullptr;
        setup = manager ? manager->FindSetup(reference.setup) : nullptr;
    }
    if (!setup) return nullptr;
    return reference.module.empty() ? m_pModule : setup->FindModule(reference.module);
}

CScriptCommandInfo* CScriptEvent::ResolveCommand(const std::wstring& token, uint32_t& depth) const {
    Reference reference = SplitReference(token);
    depth = reference.depth;
    CModule* module = ResolveModule(reference);
    return module ? module->FindCommand(std::move(reference.name)) : nullptr;
}

CScriptVariable* CScriptEvent::ResolveVariable(const std::wstring& token) const {
    const Reference reference = SplitReference(token);
    if (reference.module == kUserVariableModule) {
        CSetup* setup = m_pModule ? m_pModule->GetSetup() : nullptr;
        CSetupManager* manager = setup ? setup->GetSetupManager() : nullptr;
        return manager ? manager->FindUserVariable(reference.name) : nullptr;
    }
    CModule* module = ResolveModule(reference);
    return module ? module->FindVariable(reference.name.c_str()) : nullptr;
}

void CScriptEvent::AttachCommand(CScriptCommand* command, uint32_t depth) {
    if (depth > 0 && !m_rootCommands.empty()) {
        m_rootCommands.back()->AddChild(command, depth - 1);
    } else {
        m_rootCommands.push_back(command);
    }
}

bool CScriptEvent::Fire(uint32_t eventArgument) {
    std::unique_lock<plat::CriticalSection> guard(m_lock);
    CModule* module = m_pModule;
    // The lock is recursive, so a command of this event firing it again gets here; one cursor
    // cannot serve two runs of the same list.
    if (!module || IsFiring() || !module->TryBeginEvent()) return true;

    try {
        module->OnEventBegin(m_nId, eventArgument);
        m_plan.Run(eventArgument);
        module->OnEventEnd(m_nId, eventArgument);
    } catch (...) {
        m_cursor = m_rootCommands.end();
        try {
            if (plat::DebugOutputEnabled()) {
                plat::OutputDebugText(plat::Format(kFireError, SetupName(module->GetSetup()),
                                                   module->GetName(), m_strName));
            }
        } catch (...) {
            // The report is best effort; the counters below must stay balanced regardless.
        }
    }

    guard.unlock();
    module->EndEvent();
    return true;
}
