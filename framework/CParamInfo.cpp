// The description of one parameter of a script command or of a script event.
#include "CParamInfo.h"

#include <utility>

CParamInfo::CParamInfo() = default;

CParamInfo::CParamInfo(std::wstring type, std::wstring name, std::wstring description)
    : m_strType(std::move(type)),
      m_strName(std::move(name)),
      m_strDescription(std::move(description)) {}

CParamInfo::CParamInfo(const CParamInfo& other) = default;

CParamInfo& CParamInfo::operator=(const CParamInfo& other) = default;

CParamInfo::~CParamInfo() = default;
