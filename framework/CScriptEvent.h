// A named occasion in a module with a script attached: keeps and stores the lines, compiles them
// into command trees and runs those when the host fires the event.
#pragma once

#include <platform/Sync.h>

#include <cstdint>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "CCommandParam.h"
#include "CParamInfo.h"

class CModule;
class CScriptCommand;
class CScriptCommandInfo;
class CScriptVariable;

// The host runs the same operations on the same objects: member order is shared and fixed.
class CScriptEvent {
public:
    static constexpr const wchar_t* kScriptSection = L"Setups\\%s\\Scripts\\%s\\%s";
    static constexpr const wchar_t* kScriptsKey =
        L"Software\\Talverd\\Keltaro5\\Setups\\%s\\Scripts\\%s";
    static constexpr const wchar_t* kLineCountEntry = L"LineCount";
    static constexpr const wchar_t* kLineEntry = L"%d";
    static constexpr const wchar_t* kUserVariableModule = L"USERVAR";
    static constexpr const wchar_t* kLineError = L"Error on line : '%s'";
    static constexpr const wchar_t* kFireError = L"Error executing event : %s:%s:%s.";

    // A command or variable reference of a script line: leading "*" give the depth, then
    // setup:module:name, where the setup part may itself hold ":".
    struct Reference {
        uint32_t depth = 0;
        std::wstring setup;
        std::wstring module;
        std::wstring name;
    };
    static Reference SplitReference(const std::wstring& token);
    // The tokens of a line split at every ","; an empty line has none and a trailing "," adds none.
    static std::vector<std::wstring> SplitLine(const std::wstring& line);

    CScriptEvent(const wchar_t* name, const wchar_t* description, int32_t id, CModule* module);
    virtual ~CScriptEvent();
    CScriptEvent(const CScriptEvent&) = delete;
    CScriptEvent& operator=(const CScriptEvent&) = delete;

    int32_t GetId() const { return m_nId; }
    std::wstring GetName() const { return m_strName; }
    std::wstring GetDescription() const { return m_strDescription; }
    CModule* GetModule() const { return m_pModule; }

    void AddParamInfo(CParamInfo info);
    int32_t GetParamInfoCount() const;
    // A copy of the entry, or an empty description when `index` is not below the count.
    CParamInfo GetParamInfo(uint32_t index) const;

    void SaveAsDefault();
    void ResetToDefault();
    bool IsDefault() const;

    // Change the lines, then compile. They run on the user-interface thread. From inside one of
    // this event's own running commands they change nothing (the trees cannot be rebuilt then,
    // and lines and trees must agree), and say so on the debugger output.
    void AddLine(std::wstring line);
    void RemoveLine(std::wstring line);  // every equal line

    void LoadScript();
    void SaveScript();

    // Rebuilds the command trees. False, with the first failing line in `errorText`, when a line
    // did not compile; the other lines keep their commands. Called from one of this event's own
    // running commands it changes nothing and answers false.
    bool Compile(std::wstring& errorText);

    // Runs the compiled commands unless the module refuses new executions; always true. A firing
    // from inside one of this event's own commands runs nothing.
    bool Fire(uint32_t eventArgument);

    const std::list<CScriptCommand*>& GetRootCommands() const { return m_rootCommands; }
    const std::list<std::wstring>& GetLines() const { return m_lines; }

private:
    bool IsFiring() const { return m_cursor != m_rootCommands.end(); }
    // Under the lock: false, with a debugger line, while a command of this event is running.
    bool MayChangeLines(const wchar_t* change) const;
    // The stored lines by line number; the lines between them empty.
    void ReplaceLines(std::vector<std::pair<uint32_t, std::wstring>> stored, uint32_t count);
    void DeleteCommands();
    std::wstring ScriptSection() const;  // empty when the module has no setup
    // A line resolved against the modules and variables but not yet built into a command.
    struct ParsedLine {
        CScriptCommandInfo* info = nullptr;  // none for a line without tokens
                                             // or whose command is not found
        uint32_t depth = 0;
        std::vector<CCommandParam> params;
        bool resolved = false;
    };
    bool ParseLine(const std::wstring& line, ParsedLine& parsed) const;
    bool BuildCommand(const ParsedLine& parsed);
    CModule* ResolveModule(const Reference& reference) const;
    CScriptCommandInfo* ResolveCommand(const std::wstring& token, uint32_t& depth) const;
    CScriptVariable* ResolveVariable(const std::wstring& token) const;
    void AttachCommand(CScriptCommand* command, uint32_t depth);

    plat::CriticalSection m_lock;
    std::wstring m_strName;
    std::wstring m_strDescription;
    int32_t m_nId;
    std::vector<CParamInfo> m_paramInfos;
    std::list<std::wstring> m_defaultLines;
    CModule* m_pModule;
    std::list<CScriptCommand*> m_rootCommands;
    // Off the end except while Fire runs the commands, which is how a re-entry is recognised.
    std::list<CScriptCommand*>::iterator m_cursor;
    std::list<std::wstring> m_lines;
};
