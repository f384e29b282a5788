// One actual parameter of a script command: a variable, a literal text, or a position in the
// event's parameter list.
#include "CCommandParam.h"

#include <utility>

#include "CScriptVariable.h"

CCommandParam::CCommandParam() : m_pVariable(nullptr), m_bIsIndex(false), m_nIndex(0) {}

CCommandParam::CCommandParam(CScriptVariable* variable)
    : m_pVariable(variable), m_bIsIndex(false), m_nIndex(0) {}

CCommandParam::CCommandParam(std::wstring text)
    : m_pVariable(nullptr), m_strText(std::move(text)), m_bIsIndex(false), m_nIndex(0) {}

CCommandParam::CCommandParam(int32_t index)
    : m_pVariable(nullptr), m_bIsIndex(true), m_nIndex(index) {}

CCommandParam::CCommandParam(const CCommandParam& other) = default;

CCommandParam& CCommandParam::operator=(const CCommandParam& other) = default;

CCommandParam::~CCommandParam() = default;

CScriptVariable* CCommandParam::Resolve(const std::vector<CCommandParam>& args) const {
    const CCommandParam* param = this;
    // Every hop lands on an entry of args, so a chain longer than args revisits one: a loop.
    for (size_t hops = 0; hops <= args.size(); ++hops) {
        if (!param->m_bIsIndex) return param->m_pVariable;
        const auto position = static_cast<uint32_t>(param->m_nIndex);
        if (position >= args.size()) return nullptr;
        param = &args[position];
    }
    return nullptr;
}

std::wstring CCommandParam::GetText() const {
    return m_pVariable ? m_pVariable->GetName() : m_strText;
}
