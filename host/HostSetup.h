// The host's setup: its name, its modules, its frame grabber and whether it is grabbing.
#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "CSetup.h"
#include "DGrabModule.h"

namespace host {

class Trace;

class HostSetup : public CSetup {
public:
    HostSetup(std::wstring name, CSetupManager* manager, Trace& trace);
    ~HostSetup() override;

    void AddModule(CModule* module);
    void RemoveModule(CModule* module);

    CModule* FindModule(std::wstring name) override;
    CSetupManager* GetSetupManager() override;
    const wchar_t* GetName() override;
    DGrabModule* GetGrabModule() override;
    // The host has this one setup, so it is always the active one.
    bool IsActive() override;
    void ToggleGrabbing() override;
    bool IsGrabbing() override;

    // The host itself starts or stops grabbing; this is not a toggle a module asked for.
    void SetGrabbing(bool on);
    bool Grabbing() const { return m_grabbing; }
    uint32_t ToggleCount() const { return m_toggleCount; }
    const DGrabModule& Grabber() const { return m_grabber; }

private:
    static void OnRoi(void* context, const DGrabRegion& region);

    std::wstring m_name;
    CSetupManager* m_manager;
    Trace& m_trace;
    std::list<CModule*> m_modules;
    DGrabModule m_grabber;
    bool m_grabbing = false;
    uint32_t m_toggleCount = 0;
};

}  // namespace host
