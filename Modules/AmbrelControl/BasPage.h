// The base of the control dialog's pages: a child dialog that knows its module.
#pragma once

#include "ui/Wnd.h"

class CAmbrelControlModule;

class CBasPage : public ui::CDialog {
public:
    CBasPage(ui::UINT templateId, CAmbrelControlModule* module, ui::CWnd* parent);

    bool Create(ui::UINT templateId, ui::CWnd* parent) override;
    bool OnInitDialog() override;
    // Enter and Escape never end a page; the control dialog destroys it.
    void OnOK() override {}
    void OnCancel() override {}

protected:
    CAmbrelControlModule* m_pModule;
};
