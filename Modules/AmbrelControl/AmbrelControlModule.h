// The camera module the host drives: it owns the camera controller and the control dialog,
// docks the dialog in the host and keeps the chosen port per setup in the host's profile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CModule.h"

class CAmbrelControlDlg;
class CAmbrelController;

// Binary interface: the members below follow CModule's in this order; the host may read them.
class CAmbrelControlModule : public CModule {
public:
    static constexpr const wchar_t* kName = L"Ambrel Control";
    static constexpr const wchar_t* kFileName = L"AmbrelControl.dll";
    // Filled with the setup's name and the module's name.
    static constexpr const wchar_t* kSectionFormat = L"Setups\\%s\\%s";
    static constexpr const wchar_t* kPortEntry = L"Port";

    // Creates the dialog (window and hidden pages) and the controller with no port open. An
    // object that cannot be allocated is left null and every later step skips it.
    CAmbrelControlModule();
    // Saves the port, takes the dialog back from the host, destroys it, then the controller.
    ~CAmbrelControlModule() override;

    // The base behaviour, kept in this library's table.
    void HostNotify0() override;
    void HostNotify1() override;
    void HostNotify2() override;
    void OnEventBegin(int32_t eventId, uint32_t eventArgument) override;
    void OnEventEnd(int32_t eventId, uint32_t eventArgument) override;
    bool ExecuteCommand(int32_t commandId, std::vector<CCommandParam>* params,
                        uint32_t eventArgument) override;
    int32_t GetEventLinkCount() override;
    EventLink GetEventLink(int32_t index) override;

    // Gives the dialog the setup, docks it in the host, then loads the settings.
    void Attach() override;
    // Once per object: reads the stored port row, refreshes the camera, rebuilds the tabs and
    // re-opens the stored port.
    void LoadSettings() override;
    void SaveSettings() override;
    // The port, the enumerated settings and the image geometry cannot change in between.
    void LockControls() override;
    void UnlockControls() override;

    // The dialog's tabs and pages follow the controller's lists again.
    void RefreshTabs();

    CAmbrelControlDlg* m_pDialog;
    CAmbrelController* m_pController;
    int32_t m_bSettingsLoaded;
    // A row of the Port option list on the Settings page (0 is "Not selected"), not a port.
    int32_t m_nPort;

private:
    // The profile section of this module in its setup; empty without a setup.
    std::wstring ProfileSection() const;
};
