// A named occasion in a module with a script attached: keeps and stores the lines, compiles them
// into command trees and runs those when the host fires the event.
#include "CScriptEvent.h"

#include <platform/Application.h>
#include <platform/DebugOutput.h>
#include <platform/Registry.h>
#include <platform/Text.h>

#include <algorithm>
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

// A stored script longer than this keeps its lines but not the empty lines between them.
constexpr uint32_t kMaxLoadedLines = 1u << 20;
// How many more lines than it holds a stored script's count may claim before it is not believed.
constexpr uint32_t kSpareMissingLines = 64;
constexpr const wchar_t* kRefusedChange =
    L"Script of event %s not changed (%s): the event is running";
constexpr const wchar_t* kGapsClosed =
    L"Script of event %s: %u lines stored up to line %u; the empty lines between them left out";

// The line number an entry name stands for: "%d" of a number from 0, written as "%d" writes it.
bool LineIndexOf(const std::wstring& entry, uint32_t& index) {
    if (entry.empty() || entry.size() > 10 || (entry[0] == L'0' && entry.size() > 1)) return false;
    uint64_t value = 0;
    for (wchar_t c : entry) {
        if (c < L'0' || c > L'9') return false;
        value = value * 10 + static_cast<uint64_t>(c - L'0');
    }
    if (value > INT32_MAX) return false;
    index = static_cast<uint32_t>(value);
    return true;
}

// The token of a line that begins at `start`, which moves past the "," that ends it; the line has
// no more tokens once `start` is not below its length.
std::wstring_view NextToken(std::wstring_view line, size_t& start) {
    const size_t end = std::min(line.find(L',', start), line.size());
    const std::wstring_view token = line.substr(start, end - start);
    start = end + 1;
    return token;
}

// A reference's parts as views into its token, where CScriptEvent::Reference holds copies:
// compiling parses every line again on each change of the script.
struct ReferenceParts {
    uint32_t depth = 0;
    std::wstring_view setup;
    std::wstring_view module;
    std::wstring_view name;
};

ReferenceParts SplitReferenceParts(std::wstring_view token) {
    ReferenceParts reference;
    size_t start = 0;
    while (start < token.size() && token[start] == L'*') ++start;
    reference.depth = start > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(start);

    const std::wstring_view rest = token.substr(start);
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

// The module a reference names, seen from the event's own module.
CModule* ModuleOf(CModule* own, const ReferenceParts& reference) {
    if (!own) return nullptr;
    CSetup* setup = own->GetSetup();
    if (!reference.setup.empty()) {
        CSetupManager* manager = setup ? setup->GetSetupManager() : nullptr;
        setup = manager ? manager->FindSetup(std::wstring(reference.setup)) : nullptr;
    }
    if (!setup) return nullptr;
    return reference.module.empty() ? own : setup->FindModule(std::wstring(reference.module));
}

CScriptCommandInfo* CommandOf(CModule* own, std::wstring_view token, uint32_t& depth) {
    const ReferenceParts reference = SplitReferenceParts(token);
    depth = reference.depth;
    CModule* module = ModuleOf(own, reference);
    return module ? module->FindCommand(std::wstring(reference.name)) : nullptr;
}

CScriptVariable* VariableOf(CModule* own, std::wstring_view token) {
    const ReferenceParts reference = SplitReferenceParts(token);
    if (reference.module == CScriptEvent::kUserVariableModule) {
        CSetup* setup = own ? own->GetSetup() : nullptr;
        CSetupManager* manager = setup ? setup->GetSetupManager() : nullptr;
        return manager ? manager->FindUserVariable(std::wstring(reference.name)) : nullptr;
    }
    CModule* module = ModuleOf(own, reference);
    return module ? module->FindVariable(std::wstring(reference.name).c_str()) : nullptr;
}

// A name the setup hands out may be null; profile sections and messages take it as empty.
const wchar_t* SetupName(CSetup* setup) {
    const wchar_t* name = setup ? setup->GetName() : nullptr;
    return name ? name : L"";
}

}  // namespace

CScriptEvent::Reference CScriptEvent::SplitReference(const std::wstring& token) {
    const ReferenceParts parts = SplitReferenceParts(token);
    Reference reference;
    reference.depth = parts.depth;
    reference.setup = parts.setup;
    reference.module = parts.module;
    reference.name = parts.name;
    return reference;
}

std::vector<std::wstring> CScriptEvent::SplitLine(const std::wstring& line) {
    std::vector<std::wstring> tokens;
    for (size_t start = 0; start < line.size();) tokens.emplace_back(NextToken(line, start));
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
    std::lock_guard<plat::CriticalSection> guard(m_lock);
    if (!MayChangeLines(L"reset to default")) return;
    m_lines = m_defaultLines;
    std::wstring errorText;
    Compile(errorText);
}

bool CScriptEvent::MayChangeLines(const wchar_t* change) const {
    if (!IsFiring()) return true;
    if (plat::DebugOutputEnabled()) {
        plat::OutputDebugText(plat::Format(kRefusedChange, m_strName, change));
    }
    return false;
}

bool CScriptEvent::IsDefault() const {
    return m_lines == m_defaultLines;
}

void CScriptEvent::AddLine(std::wstring line) {
    std::lock_guard<plat::CriticalSection> guard(m_lock);
    if (!MayChangeLines(L"line added")) return;
    m_lines.push_back(std::move(line));
    std::wstring errorText;
    Compile(errorText);
}

void CScriptEvent::RemoveLine(std::wstring line) {
    std::lock_guard<plat::CriticalSection> guard(m_lock);
    if (!MayChangeLines(L"line removed")) return;
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
    if (count <= 0) {
        m_lines.clear();
        return;
    }
    // The count is outside data: the work is bounded by the entries the section holds, each
    // stored text below the count loading at its line and the lines not stored as empty text.
    std::vector<plat::reg::Value> values;
    plat::reg::KeyGuard key;
    if (plat::reg::OpenKey(app->ProfileRoot() + L"\\" + section, key.out()) ==
        plat::reg::kSuccess) {
        plat::reg::EnumValues(key.get(), &values);
    }
    std::vector<std::pair<uint32_t, std::wstring>> stored;
    for (plat::reg::Value& value : values) {
        uint32_t index = 0;
        if (value.type != plat::reg::ValueType::String || !LineIndexOf(value.name, index)) continue;
        if (index < static_cast<uint32_t>(count)) stored.emplace_back(index, std::move(value.text));
    }
    ReplaceLines(std::move(stored), static_cast<uint32_t>(count));
}

// Lines not stored after the last stored one load as empty text too, up to the count where the
// stored entries make it believable.
void CScriptEvent::ReplaceLines(std::vector<std::pair<uint32_t, std::wstring>> stored,
                                uint32_t count) {
    std::sort(stored.begin(), stored.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    const uint64_t believed = std::min<uint64_t>(count, stored.size() + kSpareMissingLines);
    const uint64_t length =
        std::max<uint64_t>(stored.empty() ? 0 : stored.back().first + 1u, believed);
    const bool closeGaps = length > kMaxLoadedLines;
    if (closeGaps && plat::DebugOutputEnabled()) {
        plat::OutputDebugText(plat::Format(kGapsClosed, m_strName,
                                           static_cast<uint32_t>(stored.size()),
                                           static_cast<uint32_t>(length)));
    }
    m_lines.clear();
    for (auto& [index, text] : stored) {
        while (!closeGaps && m_lines.size() < index) m_lines.emplace_back();
        m_lines.push_back(std::move(text));
    }
    while (!closeGaps && m_lines.size() < length) m_lines.emplace_back();
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
    if (!failed) return true;
    if (plat::DebugOutputEnabled()) plat::OutputDebugText(plat::Format(kLineError, errorText));
    return false;
}

bool CScriptEvent::ParseLine(const std::wstring& line, ParsedLine& parsed) const {
    // Token by token, in views of the line: compiling parses every line again on each change.
    if (line.empty()) return true;
    size_t start = 0;
    parsed.info = CommandOf(m_pModule, NextToken(line, start), parsed.depth);
    if (!parsed.info) return false;

    while (start < line.size()) {
        const std::wstring_view token = NextToken(line, start);
        bool isEventParam = false;
        for (size_t p = 0; p < m_paramInfos.size() && p <= INT32_MAX; ++p) {
            if (m_paramInfos[p].m_strName == token) {
                parsed.params.emplace_back(static_cast<int32_t>(p));
                isEventParam = true;
                break;
            }
        }
        if (isEventParam) continue;
        CScriptVariable* variable = VariableOf(m_pModule, token);
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
    return ModuleOf(m_pModule,
                    {reference.depth, reference.setup, reference.module, reference.name});
}

CScriptCommandInfo* CScriptEvent::ResolveCommand(const std::wstring& token, uint32_t& depth) const {
    return CommandOf(m_pModule, token, depth);
}

CScriptVariable* CScriptEvent::ResolveVariable(const std::wstring& token) const {
    return VariableOf(m_pModule, token);
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
        CScriptCommand::RunList(m_rootCommands, m_cursor, eventArgument);
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
