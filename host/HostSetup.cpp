// The host's setup object as modules and the setup manager reach it.
#include "HostSetup.h"

#include <utility>

#include "CModule.h"
#include "Trace.h"

namespace host {

HostSetup::HostSetup(std::wstring name, CSetupManager* manager, Trace& trace)
    : m_name(std::move(name)), m_manager(manager), m_trace(trace) {
    m_grabber.SetROIObserver(&HostSetup::OnRoi, this);
}

HostSetup::~HostSetup() {
    m_grabber.SetROIObserver(nullptr, nullptr);
}

void HostSetup::AddModule(CModule* module) {
    m_modules.push_back(module);
}

void HostSetup::RemoveModule(CModule* module) {
    m_modules.remove(module);
}

CModule* HostSetup::FindModule(std::wstring name) {
    for (CModule* module : m_modules) {
        if (module->GetName() == name) return module;
    }
    return nullptr;
}

CSetupManager* HostSetup::GetSetupManager() {
    return m_manager;
}

const wchar_t* HostSetup::GetName() {
    return m_name.c_str();
}

DGrabModule* HostSetup::GetGrabModule() {
    return &m_grabber;
}

bool HostSetup::IsActive() {
    return true;
}

void HostSetup::ToggleGrabbing() {
    if (m_toggleCount != UINT32_MAX) ++m_toggleCount;
    m_grabbing = !m_grabbing;
    m_trace.Grabbing(m_grabbing);
}

bool HostSetup::IsGrabbing() {
    return m_grabbing;
}

void HostSetup::SetGrabbing(bool on) {
    if (m_grabbing == on) return;
    m_grabbing = on;
    m_trace.Grabbing(on);
}

void HostSetup::OnRoi(void* context, const DGrabRegion& region) {
    static_cast<HostSetup*>(context)->m_trace.Roi(region);
}

}  // namespace host
