// The pages' common base.
#include "BasPage.h"

CBasPage::CBasPage(ui::UINT templateId, CAmbrelControlModule* module, ui::CWnd* parent)
    : ui::CDialog(templateId, parent), m_pModule(module) {}

bool CBasPage::Create(ui::UINT templateId, ui::CWnd* parent) {
    return ui::CDialog::Create(templateId, parent);
}

bool CBasPage::OnInitDialog() {
    ui::CDialog::OnInitDialog();
    return true;
}
