// The "Exposure" page: exposure time and frame time with sliders and edits, and the constant
// frame rate and simultaneous readout settings as check boxes.
#include "PFExposurePage.h"

#include <mutex>
#include <string>

#include "AdjustmentDisplay.h"
#include "AmbrelController.h"
#include "PageRules.h"
#include "RegisteredMessages.h"

using namespace ui;

CPFExposurePage::CPFExposurePage(CAmbrelControlModule* module, CWnd* parent)
    : CBasPage(IDD, module, parent) {}

CPFExposurePage::~CPFExposurePage() = default;

void CPFExposurePage::RegisterTemplate() {
    static std::once_flag once;
    std::call_once(once, [] { ui::RegisterDialogTemplate(ExposurePageTemplate()); });
}

void CPFExposurePage::DoDataExchange(CDataExchange* pDX) {
    CBasPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EXPOSURE_SLIDER, m_exposureSlider);
    DDX_Control(pDX, IDC_FRAME_TIME_SLIDER, m_frameTimeSlider);
    DDX_Control(pDX, IDC_EXPOSURE_EDIT, m_exposureEdit);
    DDX_Control(pDX, IDC_FRAME_TIME_EDIT, m_frameTimeEdit);
    DDX_Check(pDX, IDC_CONSTANT_FRAME_RATE, m_constantFrameRate);
    DDX_Check(pDX, IDC_SIMULTANEOUS_READOUT, m_simultaneousReadout);
}

CPFExposurePage::Target CPFExposurePage::TargetFor(WPARAM which) {
    if (which == kExposure) return {&m_exposureSlider, m_exposure.get(), &m_exposureEdit};
    return {&m_frameTimeSlider, m_frameTime.get(), &m_frameTimeEdit};
}

adjustment::Display CPFExposurePage::Display(const Target& target) {
    return {*target.slider, *target.edit, m_updating, m_editIsSource != 0};
}

int32_t CPFExposurePage::ReadSettingChecked(int32_t settingId) {
    const CAmbrelController* controller = Controller();
    const SettingInfo* entry = controller ? controller->FindSetting(settingId) : nullptr;
    return entry && entry->setting && entry->setting->GetValue() == 1 ? 1 : 0;
}

void CPFExposurePage::EnableFrameTime() {
    const bool enable = m_constantFrameRate == 1;
    m_frameTimeSlider.EnableWindow(enable);
    m_frameTimeEdit.EnableWindow(enable);
}

void CPFExposurePage::RefreshExposurePage() {
    m_exposure.reset();
    m_frameTime.reset();
    // A reload is not typing: both edits show the camera's values again.
    m_editIsSource = 0;
    CAmbrelController* controller = Controller();

    const bool hasConstantFrameRate = controller && controller->FindSetting(kIdConstantFrameRate);
    const bool hasSimultaneousReadout =
        controller && controller->FindSetting(kIdSimultaneousReadout);
    if (CWnd* box = GetDlgItem(IDC_CONSTANT_FRAME_RATE)) box->EnableWindow(hasConstantFrameRate);
    m_constantFrameRate = ReadSettingChecked(kIdConstantFrameRate);
    if (CWnd* box = GetDlgItem(IDC_SIMULTANEOUS_READOUT)) box->EnableWindow(hasSimultaneousReadout);
    m_simultaneousReadout = ReadSettingChecked(kIdSimultaneousReadout);
    UpdateData(false);
    EnableFrameTime();

    if (!controller) return;
    for (const AdjustmentInfo& entry : controller->m_adjustments) {
        if (pages::PageOf(entry.id) != PageId::Exposure) continue;
        const bool exposure = entry.id == kIdExposureTime;
        auto copy = adjustment::CopyForPage(entry);
        SetDlgItemText(exposure ? IDC_EXPOSURE_MIN : IDC_FRAME_TIME_MIN,
                       adjustment::MinLabel(*copy).c_str());
        SetDlgItemText(exposure ? IDC_EXPOSURE_MAX : IDC_FRAME_TIME_MAX,
                       adjustment::MaxLabel(*copy).c_str());
        (exposure ? m_exposure : m_frameTime) = std::move(copy);
        RefreshValue(TargetFor(exposure ? kExposure : kFrameTime));
    }
}

void CPFExposurePage::RefreshValue(const Target& target) {
    CAmbrelController* controller = Controller();
    if (!target.record || !controller) return;
    if (target.record->isInteger != 0) {
        int32_t value = 0;
        controller->GetAdjustmentInt(target.record->id, value);
        ShowIntOn(target, value, false);
    } else {
        double value = 0.0;
        controller->GetAdjustmentReal(target.record->id, value);
        ShowRealOn(target, value, false);
    }
}

void CPFExposurePage::ShowIntOn(const Target& target, int32_t value, bool apply) {
    CAmbrelController* controller = Controller();
    if (!target.record || !controller) return;
    adjustment::ShowInt(*controller, *target.record, value, apply, Display(target));
}

void CPFExposurePage::ShowRealOn(const Target& target, double value, bool apply) {
    CAmbrelController* controller = Controller();
    if (!target.record || !controller) return;
    adjustment::ShowReal(*controller, *target.record, value, apply, Display(target));
}

bool CPFExposurePage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if ((id == IDC_EXPOSURE_EDIT || id == IDC_FRAME_TIME_EDIT) && code == EN_CHANGE) {
        if (!m_updating) {
            m_editIsSource = 1;
            PostMessage(REFRESH_EDIT, id == IDC_EXPOSURE_EDIT ? kExposure : kFrameTime);
        }
        return true;
    }
    if (id == IDC_CONSTANT_FRAME_RATE && code == BN_CLICKED) {
        OnSettingClicked(kIdConstantFrameRate, m_constantFrameRate);
        return true;
    }
    if (id == IDC_SIMULTANEOUS_READOUT && code == BN_CLICKED) {
        OnSettingClicked(kIdSimultaneousReadout, m_simultaneousReadout);
        return true;
    }
    return CBasPage::OnCommand(wParam, lParam);
}

void CPFExposurePage::OnHScroll(UINT code, UINT position, HWND scrollBar) {
    // One TB_ENDTRACK ends every user move of a slider, after it holds its new position.
    const bool exposure = scrollBar && scrollBar == m_exposureSlider.m_hWnd;
    const bool frameTime = scrollBar && scrollBar == m_frameTimeSlider.m_hWnd;
    if ((exposure || frameTime) && code == TB_ENDTRACK) {
        if (!m_updating) {
            m_editIsSource = 0;
            PostMessage(REFRESH_SLIDER, exposure ? kExposure : kFrameTime);
        }
        return;
    }
    CBasPage::OnHScroll(code, position, scrollBar);
}

bool CPFExposurePage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    // Repaints follow no user action and must never write the camera.
    if (header && header->code == NM_CUSTOMDRAW &&
        (header->hwndFrom == m_exposureSlider.m_hWnd ||
         header->hwndFrom == m_frameTimeSlider.m_hWnd)) {
        *result = CDRF_DODEFAULT;
        return true;
    }
    return CBasPage::OnNotify(wParam, lParam, result);
}

bool CPFExposurePage::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == REFRESH_SLIDER) {
        OnRefreshSlider(wParam);
    } else if (message == REFRESH_EDIT) {
        OnRefreshEdit(wParam);
    } else {
        return CBasPage::OnWndMsg(message, wParam, lParam, result);
    }
    *result = 0;
    return true;
}

void CPFExposurePage::OnRefreshSlider(WPARAM which) {
    const Target target = TargetFor(which);
    CAmbrelController* controller = Controller();
    if (!target.record || m_updating || !controller) return;
    adjustment::TakeSliderPosition(*controller, *target.record, Display(target));
}

void CPFExposurePage::OnRefreshEdit(WPARAM which) {
    const Target target = TargetFor(which);
    CAmbrelController* controller = Controller();
    if (!target.record || m_updating || !controller) return;
    adjustment::TakeEditText(*controller, *target.record, Display(target));
}

void CPFExposurePage::OnSettingClicked(int32_t settingId, int32_t& member) {
    if (!UpdateData(true)) {
        // Nothing changed and nothing is written: the boxes show the camera's state again.
        UpdateData(false);
        return;
    }
    CAmbrelController* controller = Controller();
    if (!controller) return;
    controller->SetSetting(settingId, member == 1 ? 1 : 0);
    member = ReadSettingChecked(settingId);
    UpdateData(false);
    EnableFrameTime();
    // The readout mode can change the frame time too; the bounds stay those of the last reload.
    RefreshValue(TargetFor(kFrameTime));
}

ui::DialogTemplate ExposurePageTemplate() {
    using Page = CPFExposurePage;
    constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
    constexpr DWORD kSlider = kVisible | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS;
    constexpr DWORD kEdit = kVisible | WS_TABSTOP | ES_NUMBER | WS_BORDER | ES_AUTOHSCROLL;
    constexpr DWORD kCheck = kVisible | WS_TABSTOP | BS_AUTOCHECKBOX;
    DialogTemplate t;
    t.id = Page::IDD;
    t.cx = 231;
    t.cy = 86;
    t.style = WS_CHILD | DS_SETFONT | DS_FIXEDSYS;
    t.items = {
        {WC_STATIC, IDC_STATIC, Page::kExposureText, 7, 9, 60, 8, kVisible | SS_LEFT, 0},
        {TRACKBAR_CLASS, Page::IDC_EXPOSURE_SLIDER, L"", 70, 8, 116, 13, kSlider, 0},
        {WC_EDIT, Page::IDC_EXPOSURE_EDIT, L"", 187, 7, 37, 14, kEdit, 0},
        {WC_BUTTON, Page::IDC_CONSTANT_FRAME_RATE, Page::kConstantFrameRateText, 7, 32, 85, 10,
         kCheck, 0},
        {WC_STATIC, IDC_STATIC, Page::kFrameTimeText, 9, 45, 50, 8, kVisible | SS_LEFT, 0},
        {TRACKBAR_CLASS, Page::IDC_FRAME_TIME_SLIDER, L"", 70, 43, 114, 13, kSlider, 0},
        {WC_EDIT, Page::IDC_FRAME_TIME_EDIT, L"", 187, 41, 38, 14, kEdit, 0},
        {WC_STATIC, Page::IDC_EXPOSURE_MIN, Page::kBoundText, 73, 22, 52, 8, kVisible | SS_LEFT, 0},
        {WC_STATIC, Page::IDC_EXPOSURE_MAX, Page::kBoundText, 137, 22, 45, 8, kVisible | SS_RIGHT,
         0},
        {WC_STATIC, Page::IDC_FRAME_TIME_MIN, Page::kBoundText, 74, 58, 52, 8, kVisible | SS_LEFT,
         0},
        {WC_STATIC, Page::IDC_FRAME_TIME_MAX, Page::kBoundText, 138, 57, 45, 8, kVisible | SS_RIGHT,
         0},
        {WC_BUTTON, Page::IDC_SIMULTANEOUS_READOUT, Page::kSimultaneousReadoutText, 8, 70, 87, 10,
         kCheck, 0},
    };
    return t;
}
