// The control dialog: creating its pages and keeping the tabs in step with the camera.
#include "AmbrelControlDlg.h"

#include <new>

#include "AmbrelControlModule.h"
#include "DialogTemplates.h"
#include "PFASettingsPage.h"
#include "PFAdjustmentPage.h"
#include "PFCommandPage.h"
#include "PFExposurePage.h"
#include "PageRules.h"

CAmbrelControlDlg::CAmbrelControlDlg(CAmbrelControlModule* module)
    : CDockedDlg(IDD, nullptr),
      m_pModule(module),
      m_pSettingsPage(nullptr),
      m_pAdjustmentPage(nullptr),
      m_pImagePage(nullptr),
      m_pExposurePage(nullptr) {
    SetCaption(kTitle);
    SetName(kTitle);
    RegisterAmbrelDialogTemplates();
    Create(IDD, nullptr);
}

CAmbrelControlDlg::~CAmbrelControlDlg() {
    auto destroy = [](auto*& page) {
        if (!page) return;
        page->DestroyWindow();
        delete page;
        page = nullptr;
    };
    destroy(m_pSettingsPage);
    destroy(m_pAdjustmentPage);
    destroy(m_pImagePage);
    destroy(m_pExposurePage);
}

// Runs inside the window's creation message, where no exception may pass: a page that cannot
// be allocated stays null and its tab never appears.
template <class Page>
Page* CAmbrelControlDlg::CreatePage(ui::UINT templateId) {
    Page* page = nullptr;
    try {
        page = new Page(m_pModule, this);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    page->Create(templateId, this);
    return page;
}

bool CAmbrelControlDlg::OnInitDialog() {
    CDockedDlg::OnInitDialog();
    m_pSettingsPage = CreatePage<CPFASettingsPage>(CPFASettingsPage::IDD);
    m_pAdjustmentPage = CreatePage<CPFAdjustmentPage>(CPFAdjustmentPage::IDD);
    m_pImagePage = CreatePage<CPFCommandPage>(CPFCommandPage::IDD);
    m_pExposurePage = CreatePage<CPFExposurePage>(CPFExposurePage::IDD);
    return true;
}

void CAmbrelControlDlg::DoDataExchange(ui::CDataExchange* pDX) {
    CDockedDlg::DoDataExchange(pDX);
    ui::DDX_Control(pDX, IDC_TAB, m_tabCtrl);
}

void CAmbrelControlDlg::RebuildTabs() {
    m_tabCtrl.RemovePage(m_pSettingsPage);
    m_tabCtrl.RemovePage(m_pAdjustmentPage);
    m_tabCtrl.RemovePage(m_pImagePage);
    m_tabCtrl.RemovePage(m_pExposurePage);
    if (m_pSettingsPage) m_tabCtrl.AppendPage(kSettingsTab, m_pSettingsPage);
    RefreshTabs();
}

void CAmbrelControlDlg::RefreshTabs() {
    m_tabCtrl.RemovePage(m_pAdjustmentPage);
    m_tabCtrl.RemovePage(m_pImagePage);
    m_tabCtrl.RemovePage(m_pExposurePage);

    const CAmbrelController* controller = m_pModule ? m_pModule->m_pController : nullptr;
    if (m_pSettingsPage) m_pSettingsPage->RefreshFeatureList();
    if (m_pAdjustmentPage) {
        m_pAdjustmentPage->RefreshAdjustmentList();
        if (controller && pages::OffersAdjustmentTab(*controller))
            m_tabCtrl.AppendPage(kAdjustmentTab, m_pAdjustmentPage);
    }
    if (m_pImagePage) {
        m_pImagePage->RefreshImagePage();
        if (controller && pages::OffersImageTab(*controller))
            m_tabCtrl.AppendPage(kImageTab, m_pImagePage);
    }
    if (m_pExposurePage) {
        m_pExposurePage->RefreshExposurePage();
        if (controller && pages::OffersExposureTab(*controller))
            m_tabCtrl.AppendPage(kExposureTab, m_pExposurePage);
    }
    if (m_tabCtrl.GetItemCount() > 0) m_tabCtrl.ShowPage(m_tabCtrl.PageAt(0));
}
