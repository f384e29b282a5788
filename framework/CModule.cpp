// The module base class: base behaviour of the host's slots, event counting, script lists and
// event links.
#include "CModule.h"

#include <climits>
#include <mutex>
#include <utility>

#include "CScriptCommandInfo.h"
#include "CScriptEvent.h"
#include "CScriptVariable.h"
#include "CSetup.h"
#include "platform/DebugOutput.h"
#include "platform/Text.h"

namespace {

constexpr uint32_t kStopPollMs = 10;

template <class T>
int32_t CountOf(const std::vector<T*>& list) {
    return list.size() > static_cast<size_t>(INT32_MAX) ? INT32_MAX
                                                        : static_cast<int32_t>(list.size());
}

template <class T>
T* At(const std::vector<T*>& list, int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return nullptr;
    return list[static_cast<size_t>(index)];
}

template <class T>
T* FindByName(const std::vector<T*>& list, const std::wstring& name) {
    for (T* item : list) {
        if (item && item->GetName() == name) return item;
    }
    return nullptr;
}

}  // namespace

CModule::CModule()
    : m_pSetup(nullptr),
      m_pDialogHost(nullptr),
      m_bHostFlag(true),
      m_bAcceptEvents(true),
      m_nRunningEvents(0) {
    EnableEvents();
}

// The derived part is gone by now, so events this module owned may be too: links into the
// module's own events are dropped without touching them.
CModule::~CModule() {
    DisconnectLinks(true);
}

void CModule::HostNotify0() {}
void CModule::HostNotify1() {}
void CModule::HostNotify2() {}

void CModule::Attach() {
    ConnectEventLinks();
    CompileScripts();
}

void CModule::LoadSettings() {}
void CModule::SaveSettings() {}
void CModule::OnEventBegin(int32_t, uint32_t) {}
void CModule::OnEventEnd(int32_t, uint32_t) {}
bool CModule::ExecuteCommand(int32_t, std::vector<CCommandParam>*, uint32_t) {
    return false;
}
int32_t CModule::GetEventLinkCount() {
    return 0;
}
EventLink CModule::GetEventLink(int32_t) {
    return EventLink();
}
void CModule::LockControls() {}
void CModule::UnlockControls() {}
bool CModule::HostQuery73(uint32_t, uint32_t) {
    return false;
}
void CModule::HostNotify12(uint32_t) {}
void CModule::HostNotify13(uint32_t) {}
void CModule::HostNotify14() {}
void CModule::HostNotify15(uint32_t) {}
void CModule::HostNotify16(uint32_t) {}
void CModule::HostNotify17(uint32_t, uint32_t) {}
void CModule::HostNotify18(uint32_t, uint32_t) {}
void CModule::HostNotify19(uint32_t, uint32_t) {}
void CModule::HostNotify20(uint32_t, uint32_t) {}
void CModule::HostNotify21() {}
void CModule::HostNotify22() {}
void CModule::HostNotify23(uint32_t) {}
void CModule::HostNotify24(uint32_t, uint32_t, uint32_t) {}
void CModule::HostNotify25(uint32_t) {}
void CModule::HostNotify26(uint32_t, uint32_t, uint32_t) {}
void CModule::HostNotify27() {}
void CModule::HostNotify28() {}
void CModule::HostNotify29() {}
void CModule::HostNotify30() {}
void CModule::HostNotify31(std::wstring) {}
void CModule::HostNotify32() {}
void CModule::HostNotify33() {}
void CModule::HostNotify34() {}
void CModule::HostNotify36() {}
void CModule::HostNotify37() {}
void CModule::HostNotify39() {}
void CModule::HostNotify40() {}
void CModule::HostNotify41(uint32_t) {}
void CModule::HostNotify42(uint32_t) {}
void CModule::HostNotify43(uint32_t, uint32_t, uint32_t) {}
void CModule::HostNotify44(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void CModule::HostNotify45(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void CModule::HostNotify46(uint32_t, uint32_t) {}
void CModule::HostNotify47(std::wstring) {}
void CModule::HostNotify48(uint32_t, uint32_t) {}
void CModule::HostNotify49(uint32_t, uint32_t) {}
void CModule::HostNotify50(uint32_t, uint32_t) {}
void CModule::HostNotify51(uint32_t, uint32_t) {}
void CModule::HostNotify52() {}
void CModule::HostNotify53() {}
void CModule::HostNotify54() {}
void CModule::HostNotify55() {}
void CModule::HostNotify56() {}
void CModule::HostNotify57() {}
void CModule::HostNotify58() {}
void CModule::HostNotify59() {}
void CModule::HostNotify60() {}
void CModule::HostNotify61() {}
void CModule::HostNotify62(uint32_t, uint32_t) {}
void CModule::HostNotify63(uint32_t, uint32_t) {}
void CModule::HostNotify64(uint32_t, uint32_t) {}
void CModule::HostNotify65(uint32_t, uint32_t) {}
void CModule::HostNotify66(uint32_t, uint32_t) {}
void CModule::HostNotify67(uint32_t, uint32_t) {}
void CModule::HostNotify68(uint32_t, uint32_t) {}
void CModule::HostNotify69(uint32_t, uint32_t) {}
void CModule::HostNotify70(uint32_t, uint32_t) {}
void CModule::HostNotify71(uint32_t, uint32_t) {}
void CModule::HostNotify72() {}

void CModule::SetHosts(CSetup* setup, CDialogHost* dialogHost) {
    m_pSetup = setup;
    m_pDialogHost = dialogHost;
}

CSetup* CModule::GetSetup() const {
    return m_pSetup;
}
CDialogHost* CModule::GetDialogHost() const {
    return m_pDialogHost;
}
void CModule::SetName(std::wstring name) {
    m_strName = std::move(name);
}
std::wstring CModule::GetName() const {
    return m_strName;
}
std::wstring CModule::GetFileName() const {
    return m_strFileName;
}
bool CModule::GetHostFlag() const {
    return m_bHostFlag;
}

bool CModule::TryBeginEvent() {
    std::lock_guard guard(m_lock);
    if (!m_bAcceptEvents || m_nRunningEvents.load() == INT32_MAX) return false;
    m_nRunningEvents.fetch_add(1);
    return true;
}

// An unmatched EndEvent must not drive the count below zero, or StopEvents would wait forever.
void CModule::EndEvent() {
    std::lock_guard guard(m_lock);
    if (m_nRunningEvents.load() > 0) m_nRunningEvents.fetch_sub(1);
}

void CModule::StopEvents() {
    {
        std::lock_guard guard(m_lock);
        m_bAcceptEvents = false;
    }
    for (int32_t running = m_nRunningEvents.load(); running != 0;
         running = m_nRunningEvents.load()) {
        if (plat::DebugOutputEnabled()) {
            plat::OutputDebugText(plat::Format(kWaitingForEventsFormat, running));
        }
        plat::SleepMs(kStopPollMs);
    }
}

void CModule::EnableEvents() {
    std::lock_guard guard(m_lock);
    m_bAcceptEvents = true;
}

void CModule::NotifySequence() {
    HostNotify1();
    HostNotify0();
    HostNotify2();
}

void CModule::AddEvent(CScriptEvent* event) {
    if (!event) return;
    event->SaveAsDefault();
    m_events.push_back(event);
}

void CModule::LoadScripts() {
    for (CScriptEvent* event : m_events) {
        if (event) event->LoadScript();
    }
    CompileScripts();
}

void CModule::SaveScripts() {
    for (CScriptEvent* event : m_events) {
        if (event) event->SaveScript();
    }
}

void CModule::CompileScripts() {
    for (CScriptEvent* event : m_events) {
        if (!event) continue;
        std::wstring errorText;
        event->Compile(errorText);
    }
}

void CModule::ResetScripts() {
    for (CScriptEvent* event : m_events) {
        if (event) event->ResetToDefault();
    }
}

int32_t CModule::GetEventCount() const {
    return CountOf(m_events);
}
int32_t CModule::GetCommandCount() const {
    return CountOf(m_commands);
}
int32_t CModule::GetVariableCount() const {
    return CountOf(m_variables);
}

CScriptEvent* CModule::GetEvent(int32_t index) const {
    return At(m_events, index);
}
CScriptCommandInfo* CModule::GetCommand(int32_t index) const {
    return At(m_commands, index);
}
CScriptVariable* CModule::GetVariable(int32_t index) const {
    return At(m_variables, index);
}

CScriptEvent* CModule::FindEvent(std::wstring name) const {
    return FindByName(m_events, name);
}

CScriptEvent* CModule::FindEventById(int32_t id) const {
    for (CScriptEvent* event : m_events) {
        if (event && event->GetId() == id) return event;
    }
    return nullptr;
}

CScriptCommandInfo* CModule::FindCommand(std::wstring name) const {
    return FindByName(m_commands, name);
}

CScriptVariable* CModule::FindVariable(const wchar_t* name) const {
    if (!name) return nullptr;
    return FindByName(m_variables, std::wstring(name));
}

void CModule::ConnectEventLinks() {
    const int32_t count = GetEventLinkCount();
    for (int32_t i = 0; i < count; ++i) {
        EventLink link = GetEventLink(i);
        CScriptEvent* event = FindLinkTarget(link, false);
        if (!event) continue;
        event->AddLine(link.m_strScript);
        m_eventLinks.push_back(std::move(link));
    }
}

void CModule::DisconnectEventLinks() {
    DisconnectLinks(false);
}

void CModule::DisconnectLinks(bool skipOwnEvents) {
    while (!m_eventLinks.empty()) {
        const EventLink link = std::move(m_eventLinks.front());
        m_eventLinks.pop_front();
        if (CScriptEvent* event = FindLinkTarget(link, skipOwnEvents)) {
            event->RemoveLine(link.m_strScript);
        }
    }
}

// Without a setup no module can be found, so no link applies.
CScriptEvent* CModule::FindLinkTarget(const EventLink& link, bool skipOwnEvents) const {
    if (!m_pSetup) return nullptr;
    CModule* module = m_pSetup->FindModule(link.m_strModule);
    if (!module || (skipOwnEvents && module == this)) return nullptr;
    return module->FindEvent(link.m_strEvent);
}
