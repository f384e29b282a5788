// The unsigned 32-bit script variable.
#pragma once

#include <cstdint>

#include "CScriptVariable.h"

class CVarUINT : public CScriptVariable {
public:
    static constexpr const wchar_t* kTypeName = L"CVarUINT";

    CVarUINT();
    explicit CVarUINT(uint32_t value);
    ~CVarUINT() override;
    CVarUINT(const CVarUINT&) = default;

    // Assignment takes the value only; the target keeps its name, description and type.
    CVarUINT& operator=(const CVarUINT& other);
    CVarUINT& operator=(uint32_t value);

    uint32_t GetValue() const { return m_nValue; }

    bool operator==(const CVarUINT& other) const { return m_nValue == other.m_nValue; }
    bool operator!=(const CVarUINT& other) const { return m_nValue != other.m_nValue; }
    bool operator==(uint32_t value) const { return m_nValue == value; }
    bool operator!=(uint32_t value) const { return m_nValue != value; }

    std::wstring GetValueText() const override;

private:
    uint32_t m_nValue;
};
