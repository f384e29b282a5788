// Construction of event links.
#include "EventLink.h"

#include <utility>

EventLink::EventLink() = default;

EventLink::EventLink(std::wstring script, std::wstring module, std::wstring event)
    : m_strScript(std::move(script)),
      m_strModule(std::move(module)),
      m_strEvent(std::move(event)) {}
