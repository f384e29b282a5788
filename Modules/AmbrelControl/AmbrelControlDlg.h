// The module's docked control dialog: a tab control over the Settings, Adjustment, Image and
// Exposure pages, each tab shown only when the camera offers something for it.
#pragma once

#include <cstdint>

#include "CDockedDlg.h"
#include "ControlIds.h"
#include "PageRules.h"
#include "TabCtrlEx.h"
#include "ui/Template.h"

class CAmbrelControlModule;
class CAmbrelController;
class CBasPage;
class CPFASettingsPage;
class CPFAdjustmentPage;
class CPFCommandPage;
class CPFExposurePage;

class CAmbrelControlDlg : public CDockedDlg, public ControlDialogIds {
public:
    static constexpr const wchar_t* kTitle = L"Ambrel Control";

    // Registers the dialog's and its pages' templates; later calls do nothing.
    static void RegisterTemplates();

    // Creates the window at once, hidden and without a parent, with its four hidden pages,
    // which reach the camera through the module.
    explicit CAmbrelControlDlg(CAmbrelControlModule* module);
    ~CAmbrelControlDlg() override;

    bool OnInitDialog() override;
    void DoDataExchange(ui::CDataExchange* pDX) override;

    // All tabs removed, "Settings" appended, then RefreshTabs.
    void RebuildTabs(const CAmbrelController* controller);
    // Re-fills every page from the controller and appends the tabs of the pages that have
    // something to show; the "Settings" tab stays.
    void RefreshTabs(const CAmbrelController* controller);
    // While the host records: the port, the enumerated settings and the image geometry cannot
    // change.
    void Lock(bool locked);
    // Selects the stored row of the Port list on the Settings page and applies it.
    void SelectStoredPort(int32_t row);

    CAmbrelControlModule* m_pModule;
    CTabCtrlEx m_tabCtrl;
    // Null until the window is initialised, or when a page could not be created.
    CPFASettingsPage* m_pSettingsPage;
    CPFAdjustmentPage* m_pAdjustmentPage;
    CPFCommandPage* m_pImagePage;
    CPFExposurePage* m_pExposurePage;

private:
    template <class PageClass>
    PageClass* CreatePage();
    // The page behind a tab; null when it could not be created.
    CBasPage* PageFor(PageId page) const;
};

// The control dialog's template.
ui::DialogTemplate ControlDialogTemplate();
