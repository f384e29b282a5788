// The base of the control dialog's pages: a child dialog that reaches the camera controller,
// the setup and the tabs through its module.
#pragma once

#include <cstdint>

#include "ui/Wnd.h"

class CAmbrelControlModule;
class CAmbrelController;
class CSetup;

class CBasPage : public ui::CDialog {
public:
    CBasPage(ui::UINT templateId, CAmbrelControlModule* module, ui::CWnd* parent);

    bool Create(ui::UINT templateId, ui::CWnd* parent) override;
    bool OnInitDialog() override;
    // Enter and Escape never end a page; the control dialog destroys it.
    void OnOK() override {}
    void OnCancel() override {}
    // Fills the page again from the controller's lists.
    virtual void Reload() {}

protected:
    // Null without a module or while it has no controller.
    CAmbrelController* Controller() const;
    // The host's setup the module is attached to, or null.
    CSetup* Setup() const;
    // The tabs follow the controller's lists again, every page refilled.
    void RefreshTabs();
    // Keeps the chosen row of the Port list, to be stored in the profile.
    void StorePortRow(int32_t row);

    CAmbrelControlModule* m_pModule;
};
