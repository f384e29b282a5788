// The description of one command a module offers to scripts; it creates the command instances.
#include "CScriptCommandInfo.h"

#include <platform/DebugOutput.h>

#include <utility>

#include "CScriptCommand.h"

CScriptCommandInfo::CScriptCommandInfo() : m_nId(-1), m_bUserFlag(false), m_pModule(nullptr) {}

CScriptCommandInfo::~CScriptCommandInfo() = default;

void CScriptCommandInfo::SetName(std::wstring name) {
    m_strName = std::move(name);
}

void CScriptCommandInfo::SetDescription(std::wstring description) {
    m_strDescription = std::move(description);
}

void CScriptCommandInfo::SetComment(std::wstring comment) {
    m_strComment = std::move(comment);
}

void CScriptCommandInfo::AddParam(std::wstring type, std::wstring name, std::wstring description) {
    m_paramInfos.emplace_back(std::move(type), std::move(name), std::move(description));
}

int32_t CScriptCommandInfo::GetParamCount() const {
    return static_cast<int32_t>(m_paramInfos.size());
}

std::wstring CScriptCommandInfo::GetParamType(uint32_t index) const {
    return index < m_paramInfos.size() ? m_paramInfos[index].m_strType : kParamOutOfBounds;
}

std::wstring CScriptCommandInfo::GetParamDescription(uint32_t index) const {
    return index < m_paramInfos.size() ? m_paramInfos[index].m_strDescription : kParamOutOfBounds;
}

CScriptCommand* CScriptCommandInfo::CreateCommand() {
    if (!m_pModule || m_nId < 0) {
        plat::OutputDebugText(kCannotCreate);
        return nullptr;
    }
    return new CScriptCommand(this);
}
