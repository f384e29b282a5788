// The control dialog: creating its pages and keeping the tabs in step with the camera.
#include "AmbrelControlDlg.h"

#include <mutex>
#include <new>

#include "PFASettingsPage.h"
#include "PFAdjustmentPage.h"
#include "PFCommandPage.h"
#include "PFExposurePage.h"

void CAmbrelControlDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] { ui::RegisterDialogTemplate(ControlDialogTemplate()); });
    CPFASettingsPage::RegisterTemplate();
    CPFAdjustmentPage::RegisterTemplate();
    CPFCommandPage::RegisterTemplate();
    CPFExposurePage::RegisterTemplate();
}

CAmbrelControlDlg::CAmbrelControlDlg(CAmbrelControlModule* module)
    : CDockedDlg(IDD, nullptr),
      m_pModule(module),
      m_pSettingsPage(nullptr),
      m_pAdjustmentPage(nullptr),
      m_pImagePage(nullptr),
      m_pExposurePage(nullptr) {
    SetCaption(kTitle);
    SetName(kTitle);
    RegisterTemplates();
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
template <class PageClass>
PageClass* CAmbrelControlDlg::CreatePage() {
    PageClass* page = nullptr;
    try {
        page = new PageClass(m_pModule, this);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    page->Create(PageClass::IDD, this);
    return page;
}

bool CAmbrelControlDlg::OnInitDialog() {
    CDockedDlg::OnInitDialog();
    m_pSettingsPage = CreatePage<CPFASettingsPage>();
    m_pAdjustmentPage = CreatePage<CPFAdjustmentPage>();
    m_pImagePage = CreatePage<CPFCommandPage>();
    m_pExposurePage = CreatePage<CPFExposurePage>();
    return true;
}

void CAmbrelControlDlg::DoDataExchange(ui::CDataExchange* pDX) {
    CDockedDlg::DoDataExchange(pDX);
    ui::DDX_Control(pDX, IDC_TAB, m_tabCtrl);
}

CBasPage* CAmbrelControlDlg::PageFor(PageId page) const {
    switch (page) {
        case PageId::Settings:
            return m_pSettingsPage;
        case PageId::Adjustment:
            return m_pAdjustmentPage;
        case PageId::Image:
            return m_pImagePage;
        case PageId::Exposure:
            return m_pExposurePage;
    }
    return nullptr;
}

void CAmbrelControlDlg::RebuildTabs(const CAmbrelController* controller) {
    for (const pages::Tab& tab : pages::Tabs()) m_tabCtrl.RemovePage(PageFor(tab.page));
    if (m_pSettingsPage) m_tabCtrl.AppendPage(pages::Tabs().front().text, m_pSettingsPage);
    RefreshTabs(controller);
}

void CAmbrelControlDlg::RefreshTabs(const CAmbrelController* controller) {
    // The first tab, Settings, always stays.
    const auto tabs = pages::Tabs();
    for (const pages::Tab& tab : tabs.subspan(1)) m_tabCtrl.RemovePage(PageFor(tab.page));
    for (const pages::Tab& tab : tabs) {
        CBasPage* page = PageFor(tab.page);
        if (!page) continue;
        page->Reload();
        if (tab.page != tabs.front().page && controller && tab.offered(*controller))
            m_tabCtrl.AppendPage(tab.text, page);
    }
    if (m_tabCtrl.GetItemCount() > 0) m_tabCtrl.ShowPage(m_tabCtrl.PageAt(0));
}

void CAmbrelControlDlg::Lock(bool locked) {
    if (m_pSettingsPage) {
        m_pSettingsPage->m_featureList.EnableWindow(!locked);
        m_pSettingsPage->m_valuesList.EnableWindow(!locked);
    }
    if (m_pImagePage) m_pImagePage->Lock(locked);
}

void CAmbrelControlDlg::SelectStoredPort(int32_t row) {
    if (m_pSettingsPage) m_pSettingsPage->SelectStoredPort(row);
}

ui::DialogTemplate ControlDialogTemplate() {
    using namespace ui;
    DialogTemplate t;
    t.id = CAmbrelControlDlg::IDD;
    t.cx = 233;
    t.cy = 100;
    t.style = WS_CHILD | WS_CLIPSIBLINGS | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS;
    t.items.push_back(DialogItemTemplate{WC_TABCONTROL, CAmbrelControlDlg::IDC_TAB, L"", 0, 2, 232,
                                         98, WS_CHILD | WS_VISIBLE, 0});
    return t;
}
