// The boolean script variable.
#include "CVarBool.h"

#include <platform/Text.h>

CVarBool::CVarBool() : CVarBool(true) {}

CVarBool::CVarBool(bool value) : m_bValue(value) {
    m_strType = kTypeName;
}

CVarBool::~CVarBool() = default;

CVarBool& CVarBool::operator=(const CVarBool& other) {
    m_bValue = other.m_bValue;
    return *this;
}

CVarBool& CVarBool::operator=(bool value) {
    m_bValue = value;
    return *this;
}

std::wstring CVarBool::GetValueText() const {
    return plat::Format(L"%s", m_bValue ? kTrueText : kFalseText);
}
