// The library's module factory: its names, its description and new camera modules.
#pragma once

#include "CModuleDLL.h"

class CAmbrelControlDLL : public CModuleDLL {
public:
    // Three lines: what the library is, a notice, and what it is used for.
    static constexpr const wchar_t* kInfo =
        L"Ambrel Control Module.\r\n"
        L"Provided as is, without warranty of any kind.\r\n"
        L"This module is used to control Ambrel camera.";

    const wchar_t* GetName() override;
    const wchar_t* GetDLLName() override;
    const wchar_t* GetInfo() override;
    // A new CAmbrelControlModule owned by the caller; null when it cannot be created.
    CModule* Initialize() override;
};
