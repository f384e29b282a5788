// Base of the named, typed values that script lines hand to commands as parameters.
#include "CScriptVariable.h"

#include <utility>

CScriptVariable::CScriptVariable() = default;

CScriptVariable::~CScriptVariable() = default;

std::wstring CScriptVariable::GetValueText() const {
    return {};
}

void CScriptVariable::SetNameAndDescription(std::wstring name, std::wstring description) {
    m_strName = std::move(name);
    m_strDescription = std::move(description);
}
