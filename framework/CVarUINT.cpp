// The unsigned 32-bit script variable.
#include "CVarUINT.h"

#include <platform/Text.h>

CVarUINT::CVarUINT() : CVarUINT(0u) {}

CVarUINT::CVarUINT(uint32_t value) : m_nValue(value) {
    m_strType = kTypeName;
}

CVarUINT::~CVarUINT() = default;

CVarUINT& CVarUINT::operator=(const CVarUINT& other) {
    m_nValue = other.m_nValue;
    return *this;
}

CVarUINT& CVarUINT::operator=(uint32_t value) {
    m_nValue = value;
    return *this;
}

std::wstring CVarUINT::GetValueText() const {
    return plat::Format(L"%u", m_nValue);
}
