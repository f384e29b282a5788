// The Settings page: choosing the port and the enumerated settings, and re-opening the
// stored port when a setup loads.
#include "PFASettingsPage.h"

#include <climits>
#include <mutex>
#include <optional>
#include <vector>

#include "AmbrelController.h"
#include "CSetup.h"
#include "DGrabModule.h"
#include "PageRules.h"
#include "platform/DebugOutput.h"
#include "platform/Text.h"

namespace {

struct RegionSize {
    uint32_t width;
    uint32_t height;
};

// The capture region of each window mode the Window setting offers.
std::optional<RegionSize> WindowModeSize(int32_t mode) {
    switch (mode) {
        case 0:
            return RegionSize{1024, 1024};
        case 1:
            return RegionSize{1024, 512};
        case 2:
            return RegionSize{1024, 256};
        case 3:
            return RegionSize{512, 512};
        default:
            return std::nullopt;
    }
}

ui::DWORD_PTR ToItemData(int32_t value) {
    return static_cast<ui::DWORD_PTR>(static_cast<ui::INT_PTR>(value));
}

// The value a row carries; nothing for a row the list does not have (whose item data would
// read as LB_ERR, indistinguishable from the value -1 of "Not selected").
std::optional<int32_t> ItemValue(const ui::CListBox& list, int row) {
    if (row < 0 || row >= list.GetCount()) return std::nullopt;
    const auto data = static_cast<ui::INT_PTR>(list.GetItemData(row));
    if (data < INT32_MIN || data > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(data);
}

}  // namespace

CPFASettingsPage::CPFASettingsPage(CAmbrelControlModule* module, ui::CWnd* parent)
    : CBasPage(IDD, module, parent), m_nFeatureCount(0) {}

void CPFASettingsPage::DoDataExchange(ui::CDataExchange* pDX) {
    CBasPage::DoDataExchange(pDX);
    ui::DDX_Control(pDX, IDC_FEATURES, m_featureList);
    ui::DDX_Control(pDX, IDC_VALUES, m_valuesList);
}

bool CPFASettingsPage::OnCommand(ui::WPARAM wParam, ui::LPARAM lParam) {
    if (ui::HIWORD(wParam) == ui::LBN_SELCHANGE) {
        switch (ui::LOWORD(wParam)) {
            case IDC_FEATURES:
                if (const auto id = ItemValue(m_featureList, m_featureList.GetCurSel()))
                    ShowOptions(*id);
                return true;
            case IDC_VALUES:
                ApplySelection();
                return true;
            default:
                break;
        }
    }
    return CBasPage::OnCommand(wParam, lParam);
}

void CPFASettingsPage::RefreshFeatureList() {
    const CAmbrelController* controller = Controller();
    static const std::vector<SettingInfo> kNone;
    const std::vector<SettingInfo>& settings = controller ? controller->m_settings : kNone;

    m_nFeatureCount = settings.size() > static_cast<size_t>(INT32_MAX)
                          ? INT32_MAX
                          : static_cast<int32_t>(settings.size());
    m_featureList.ResetContent();
    for (const SettingInfo& info : settings) {
        if (!pages::OnSettingsPage(info.id)) continue;
        const int row = m_featureList.AddString(info.name.c_str());
        if (row >= 0) m_featureList.SetItemData(row, ToItemData(info.id));
    }
    const std::optional<int32_t> first = ItemValue(m_featureList, 0);
    if (m_nFeatureCount != 0 && first) {
        m_featureList.SetCurSel(0);
        ShowOptions(*first);
    } else {
        // Options of a feature no longer listed must not stay on show.
        m_valuesList.ResetContent();
    }
}

void CPFASettingsPage::ShowOptions(int32_t id) {
    m_valuesList.ResetContent();
    const CAmbrelController* controller = Controller();
    const SettingInfo* info = controller ? controller->FindSetting(id) : nullptr;
    if (!info) return;
    for (const SettingOption& option : info->options) {
        const int row = m_valuesList.AddString(option.label.c_str());
        if (row >= 0) m_valuesList.SetItemData(row, ToItemData(option.value));
    }
    if (!info->options.empty() && info->setting) SelectValueRow(info->setting->GetValue());
}

int CPFASettingsPage::SelectValueRow(int32_t value) {
    const int rows = m_valuesList.GetCount();
    for (int row = 0; row < rows; ++row) {
        if (ItemValue(m_valuesList, row) == value) {
            m_valuesList.SetCurSel(row);
            return row;
        }
    }
    m_valuesList.SetCurSel(-1);
    return -1;
}

void CPFASettingsPage::ApplySelection() {
    CAmbrelController* controller = Controller();
    const std::optional<int32_t> id = ItemValue(m_featureList, m_featureList.GetCurSel());
    const std::optional<int32_t> value = ItemValue(m_valuesList, m_valuesList.GetCurSel());
    if (!controller || !id || !value) return;

    controller->SetSetting(*id, *value);

    int row = -1;
    const SettingInfo* info = controller->FindSetting(*id);
    if (info && info->setting)
        row = SelectValueRow(info->setting->GetValue());
    else
        m_valuesList.SetCurSel(-1);

    if (*id == kIdWindow) {
        // The chosen mode decides the region, not the one read back.
        if (const auto size = WindowModeSize(*value)) SetHostROI(size->width, size->height);
    } else if (*id == kIdPort && row >= 0) {
        StorePortRow(row);
        plat::OutputDebugText(plat::Format(kPortFormat, row));
    }

    RefreshTabs();
}

void CPFASettingsPage::SetHostROI(uint32_t width, uint32_t height) {
    CSetup* setup = Setup();
    if (!setup) return;
    DGrabModule* grabber = setup->GetGrabModule();
    if (!grabber) return;
    const bool running = setup->IsGrabbing();
    if (running) setup->ToggleGrabbing();
    grabber->SetROI(0, 0, width, height);
    if (running) setup->ToggleGrabbing();
}

void CPFASettingsPage::SelectStoredPort(int32_t row) {
    if (const std::optional<int32_t> first = ItemValue(m_featureList, 0)) {
        m_featureList.SetCurSel(0);
        ShowOptions(*first);
    }
    const int rows = m_valuesList.GetCount();
    m_valuesList.SetCurSel(row >= 0 && row < rows ? row : 0);
    ApplySelection();
}

void CPFASettingsPage::RegisterTemplate() {
    static std::once_flag once;
    std::call_once(once, [] { ui::RegisterDialogTemplate(SettingsPageTemplate()); });
}

ui::DialogTemplate SettingsPageTemplate() {
    using namespace ui;
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
