// The pages' common base: the one place a page reaches its module.
#include "BasPage.h"

#include "AmbrelControlModule.h"

CBasPage::CBasPage(ui::UINT templateId, CAmbrelControlModule* module, ui::CWnd* parent)
    : ui::CDialog(templateId, parent), m_pModule(module) {}

bool CBasPage::Create(ui::UINT templateId, ui::CWnd* parent) {
    return ui::CDialog::Create(templateId, parent);
}

bool CBasPage::OnInitDialog() {
    ui::CDialog::OnInitDialog();
    return true;
}

CAmbrelController* CBasPage::Controller() const {
    return m_pModule ? m_pModule->m_pController : nullptr;
}

CSetup* CBasPage::Setup() const {
    return m_pModule ? m_pModule->GetSetup() : nullptr;
}

void CBasPage::RefreshTabs() {
    if (m_pModule) m_pModule->RefreshTabs();
}

void CBasPage::StorePortRow(int32_t row) {
    if (m_pModule) m_pModule->m_nPort = row;
}
