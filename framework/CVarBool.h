// The boolean script variable.
#pragma once

#include "CScriptVariable.h"

class CVarBool : public CScriptVariable {
public:
    static constexpr const wchar_t* kTypeName = L"CVarBool";
    static constexpr const wchar_t* kTrueText = L"TRUE";
    static constexpr const wchar_t* kFalseText = L"FALSE";

    CVarBool();  // true, not false
    explicit CVarBool(bool value);
    ~CVarBool() override;
    CVarBool(const CVarBool&) = default;

    // Assignment takes the value only; the target keeps its name, description and type.
    CVarBool& operator=(const CVarBool& other);
    CVarBool& operator=(bool value);

    bool GetValue() const { return m_bValue; }

    bool operator==(const CVarBool& other) const { return m_bValue == other.m_bValue; }
    bool operator!=(const CVarBool& other) const { return m_bValue != other.m_bValue; }
    bool operator==(bool value) const { return m_bValue == value; }
    bool operator!=(bool value) const { return m_bValue != value; }

    std::wstring GetValueText() const override;

private:
    bool m_bValue;
};
