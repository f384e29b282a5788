// The module's docked control dialog: a tab control over the Settings, Adjustment, Image and
// Exposure pages, each tab shown only when the camera offers something for it.
#pragma once

#include "CDockedDlg.h"
#include "TabCtrlEx.h"

class CAmbrelControlModule;
class CPFASettingsPage;
class CPFAdjustmentPage;
class CPFCommandPage;
class CPFExposurePage;

class CAmbrelControlDlg : public CDockedDlg {
public:
    static constexpr ui::UINT IDD = 16311;
    static constexpr int IDC_TAB = 16313;
    static constexpr const wchar_t* kTitle = L"Ambrel Control";
    static constexpr const wchar_t* kSettingsTab = L"Settings";
    static constexpr const wchar_t* kAdjustmentTab = L"Adjustment";
    static constexpr const wchar_t* kImageTab = L"Image";
    static constexpr const wchar_t* kExposureTab = L"Exposure";

    // Creates the window at once, hidden and without a parent, with its four hidden pages.
    explicit CAmbrelControlDlg(CAmbrelControlModule* module);
    ~CAmbrelControlDlg() override;

    bool OnInitDialog() override;
    void DoDataExchange(ui::CDataExchange* pDX) override;

    // All tabs removed, "Settings" appended, then RefreshTabs.
    void RebuildTabs();
    // Re-fills every page from the controller and appends the tabs of the pages that have
    // something to show; the "Settings" tab stays.
    void RefreshTabs();

    CAmbrelControlModule* m_pModule;
    CTabCtrlEx m_tabCtrl;
    // Null until the window is initialised, or when a page could not be created.
    CPFASettingsPage* m_pSettingsPage;
    CPFAdjustmentPage* m_pAdjustmentPage;
    CPFCommandPage* m_pImagePage;
    CPFExposurePage* m_pExposurePage;

private:
    template <class Page>
    Page* CreatePage(ui::UINT templateId);
};
