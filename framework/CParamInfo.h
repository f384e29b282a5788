// The description of one parameter of a script command or of a script event.
#pragma once

#include <string>

// Held by value in lists on both sides of the host/module boundary; member order is shared.
class CParamInfo {
public:
    CParamInfo();
    CParamInfo(std::wstring type, std::wstring name, std::wstring description);
    CParamInfo(const CParamInfo& other);
    CParamInfo& operator=(const CParamInfo& other);
    virtual ~CParamInfo();

    // Read directly by their users: events match m_strName, command descriptions answer the others.
    std::wstring m_strType;
    std::wstring m_strName;
    std::wstring m_strDescription;
};
