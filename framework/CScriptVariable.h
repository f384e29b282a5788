// Base of the named, typed values that script lines hand to commands as parameters.
#pragma once

#include <string>

// Variables cross the host/module boundary by pointer: the member order and the order of the
// virtual operations are shared with the host and must not change.
class CScriptVariable {
public:
    CScriptVariable();
    virtual ~CScriptVariable();
    virtual std::wstring GetValueText() const;

    CScriptVariable(const CScriptVariable&) = default;
    CScriptVariable& operator=(const CScriptVariable&) = default;

    void SetNameAndDescription(std::wstring name, std::wstring description);
    std::wstring GetName() const { return m_strName; }
    std::wstring GetDescription() const { return m_strDescription; }
    std::wstring GetType() const { return m_strType; }

protected:
    std::wstring m_strName;
    std::wstring m_strDescription;
    std::wstring m_strType;
};
