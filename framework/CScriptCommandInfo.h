// The description of one command a module offers to scripts; it creates the command instances.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CParamInfo.h"

class CModule;
class CScriptCommand;

// Crosses the host/module boundary by pointer; member order is shared with the host.
class CScriptCommandInfo {
public:
    static constexpr const wchar_t* kParamOutOfBounds = L"Param index is out of bounds.";
    static constexpr const wchar_t* kCannotCreate =
        L"Keltaro 4 - Could not create the command : Module is NULL or ID < 0";

    CScriptCommandInfo();
    virtual ~CScriptCommandInfo();
    CScriptCommandInfo(const CScriptCommandInfo&) = default;
    CScriptCommandInfo& operator=(const CScriptCommandInfo&) = default;

    void SetName(std::wstring name);
    std::wstring GetName() const { return m_strName; }
    void SetDescription(std::wstring description);
    std::wstring GetDescription() const { return m_strDescription; }
    void SetComment(std::wstring comment);
    std::wstring GetComment() const { return m_strComment; }

    void AddParam(std::wstring type, std::wstring name, std::wstring description);
    int32_t GetParamCount() const;
    // kParamOutOfBounds when `index` is not below the count.
    std::wstring GetParamType(uint32_t index) const;
    std::wstring GetParamDescription(uint32_t index) const;

    void SetId(int32_t id) { m_nId = id; }
    int32_t GetId() const { return m_nId; }
    void SetUserFlag(bool flag) { m_bUserFlag = flag; }
    bool GetUserFlag() const { return m_bUserFlag; }
    void SetModule(CModule* module) { m_pModule = module; }
    CModule* GetModule() const { return m_pModule; }

    // A new command owned by the caller, or null (with a debugger line) when the description has
    // no module or a negative id.
    CScriptCommand* CreateCommand();

private:
    std::wstring m_strName;
    std::wstring m_strDescription;
    std::wstring m_strComment;
    std::vector<CParamInfo> m_paramInfos;
    int32_t m_nId;
    bool m_bUserFlag;
    CModule* m_pModule;
};
