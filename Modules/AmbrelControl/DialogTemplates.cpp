// The control dialog's and the Settings page's templates, and the registration of all five.
#include "DialogTemplates.h"

#include <mutex>

#include "AmbrelControlDlg.h"
#include "PFASettingsPage.h"

using namespace ui;

ui::DialogTemplate ControlDialogTemplate() {
    DialogTemplate t;
    t.id = CAmbrelControlDlg::IDD;
    t.cx = 233;
    t.cy = 100;
    t.style = WS_CHILD | WS_CLIPSIBLINGS | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS;
    t.items.push_back(DialogItemTemplate{WC_TABCONTROL, CAmbrelControlDlg::IDC_TAB, L"", 0, 2, 232,
                                         98, WS_CHILD | WS_VISIBLE, 0});
    return t;
}

ui::DialogTemplate SettingsPageTemplate() {
    constexpr DWORD kList = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP |
                            LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;
    DialogTemplate t;
    t.id = CPFASettingsPage::IDD;
    t.cx = 232;
    t.cy = 82;
    t.style = WS_CHILD | DS_SETFONT | DS_FIXEDSYS;
    t.items.push_back(DialogItemTemplate{WC_LISTBOX, CPFASettingsPage::IDC_VALUES, L"", 97, 11, 130,
                                         69, kList, 0});
    t.items.push_back(DialogItemTemplate{WC_LISTBOX, CPFASettingsPage::IDC_FEATURES, L"", 1, 11, 89,
                                         69, kList, 0});
    t.items.push_back(DialogItemTemplate{WC_STATIC, IDC_STATIC, CPFASettingsPage::kFeatureLabel, 8,
                                         1, 29, 8, kLabel, 0});
    t.items.push_back(DialogItemTemplate{WC_STATIC, IDC_STATIC, CPFASettingsPage::kValuesLabel, 100,
                                         1, 22, 8, kLabel, 0});
    return t;
}

void RegisterAmbrelDialogTemplates() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterDialogTemplate(ControlDialogTemplate());
        RegisterDialogTemplate(SettingsPageTemplate());
        RegisterDialogTemplate(AdjustmentPageTemplate());
        RegisterDialogTemplate(ImagePageTemplate());
        RegisterDialogTemplate(ExposurePageTemplate());
    });
}
