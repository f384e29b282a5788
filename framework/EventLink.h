// A script line a module places into another module's event: what to insert and where.
//
// Binary interface: held by value in CModule and returned by value from its slot 11, so the
// three members and their order are shared with the host.
#pragma once

#include <string>

struct EventLink {
    EventLink();
    EventLink(std::wstring script, std::wstring module, std::wstring event);

    bool operator==(const EventLink&) const = default;

    std::wstring m_strScript;  // the line to insert, in script-line syntax
    std::wstring m_strModule;  // the module owning the target event, in this module's setup
    std::wstring m_strEvent;   // the target event's name in that module
};
