// The "Adjustment" page: the camera's numeric adjustments other than exposure and frame time,
// each edited with a slider, an edit box and auto-repeating step buttons.
#include "PFAdjustmentPage.h"

#include <mutex>
#include <string>

#include "AdjustmentDisplay.h"
#include "AmbrelController.h"
#include "PageRules.h"
#include "RegisteredMessages.h"
#include "SliderMapping.h"

using namespace ui;

CPFAdjustmentPage::CPFAdjustmentPage(CAmbrelControlModule* module, CWnd* parent)
    : CBasPage(IDD, module, parent) {}

CPFAdjustmentPage::~CPFAdjustmentPage() = default;

void CPFAdjustmentPage::RegisterTemplate() {
    static std::once_flag once;
    std::call_once(once, [] { ui::RegisterDialogTemplate(AdjustmentPageTemplate()); });
}

adjustment::Display CPFAdjustmentPage::Display() {
    return {m_slider, m_edit, m_updating, m_editIsSource != 0};
}

void CPFAdjustmentPage::DoDataExchange(CDataExchange* pDX) {
    CBasPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST, m_list);
    DDX_Control(pDX, IDC_SLIDER, m_slider);
    DDX_Control(pDX, IDC_MIN_LABEL, m_minLabel);
    DDX_Control(pDX, IDC_MAX_LABEL, m_maxLabel);
    DDX_Control(pDX, IDC_EDIT, m_edit);
    DDX_Control(pDX, IDC_ONE_SHOT, m_oneShotButton);
    DDX_Control(pDX, IDC_AUTOMATIC, m_autoButton);
    DDX_Control(pDX, IDC_LARGE_DECREASE, m_largeDecrease);
    DDX_Control(pDX, IDC_SMALL_DECREASE, m_smallDecrease);
    DDX_Control(pDX, IDC_SMALL_INCREASE, m_smallIncrease);
    DDX_Control(pDX, IDC_LARGE_INCREASE, m_largeIncrease);
}

int CPFAdjustmentPage::GetAdjustmentCount() const {
    return m_list.GetSafeHwnd() ? m_list.GetCount() : 0;
}

void CPFAdjustmentPage::ClearList() {
    for (int row = m_list.GetCount() - 1; row >= 0; --row) m_list.DeleteString(row);
    m_current = nullptr;
    m_records.clear();
}

void CPFAdjustmentPage::RefreshAdjustmentList() {
    m_updating = 0;
    // A refresh is not typing: the edit shows the camera's value again, so that a step never
    // starts from a value another adjustment or an earlier camera state left there.
    m_editIsSource = 0;
    const int selected = m_list.GetCurSel();
    const int keep = selected < 0 ? 0 : selected;
    ClearList();

    if (CAmbrelController* controller = Controller()) {
        for (const AdjustmentInfo& entry : controller->m_adjustments) {
            if (!pages::OnAdjustmentPage(entry.id)) continue;
            auto copy = adjustment::CopyForPage(entry);
            const int row = m_list.AddString(copy->name.c_str());
            if (row < 0) continue;
            m_list.SetItemDataPtr(row, copy.get());
            m_records.push_back(std::move(copy));
        }
    }
    const int count = m_list.GetCount();
    if (count <= 0) return;
    const int row = keep < count ? keep : 0;
    m_list.SetCurSel(row);
    m_current = static_cast<AdjustmentInfo*>(m_list.GetItemDataPtr(row));
    ShowCurrent();
}

void CPFAdjustmentPage::ShowCurrent() {
    CAmbrelController* controller = Controller();
    if (!m_current || !controller) return;
    const int32_t id = m_current->id;
    int32_t automatic = 0;
    controller->GetAdjustmentAuto(id, automatic);
    const bool manual = automatic == 0;

    m_edit.EnableWindow(manual);
    m_slider.EnableWindow(manual);
    for (CRepeatButton* button :
         {&m_smallDecrease, &m_largeDecrease, &m_smallIncrease, &m_largeIncrease}) {
        if (!manual) button->StopRepeat();
        button->EnableWindow(manual);
    }
    m_autoButton.EnableWindow(m_current->autoCapable != 0 && m_current->available != 0);
    m_autoButton.SetCheck(manual ? BST_UNCHECKED : BST_CHECKED);

    m_minLabel.SetWindowText(adjustment::MinLabel(*m_current));
    m_maxLabel.SetWindowText(adjustment::MaxLabel(*m_current));
    if (m_current->isInteger != 0) {
        int32_t value = 0;
        controller->GetAdjustmentInt(id, value);
        ShowInt(value, false);
    } else {
        double value = 0.0;
        controller->GetAdjustmentReal(id, value);
        ShowReal(value, false);
    }
    m_oneShotButton.EnableWindow(m_current->oneShotCapable != 0);
}

void CPFAdjustmentPage::ShowInt(int32_t value, bool apply) {
    CAmbrelController* controller = Controller();
    if (!m_current || !controller) return;
    ShowBoundButtons(adjustment::ShowInt(*controller, *m_current, value, apply, Display()));
}

void CPFAdjustmentPage::ShowReal(double value, bool apply) {
    CAmbrelController* controller = Controller();
    if (!m_current || !controller) return;
    ShowBoundButtons(adjustment::ShowReal(*controller, *m_current, value, apply, Display()));
}

void CPFAdjustmentPage::ShowBoundButtons(adjustment::Shown shown) {
    for (CRepeatButton* button : {&m_smallDecrease, &m_largeDecrease}) {
        if (shown.atMin) button->StopRepeat();
        button->EnableWindow(!shown.atMin);
    }
    for (CRepeatButton* button : {&m_smallIncrease, &m_largeIncrease}) {
        if (shown.atMax) button->StopRepeat();
        button->EnableWindow(!shown.atMax);
    }
}

bool CPFAdjustmentPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (id == IDC_LIST && code == LBN_SELCHANGE) {
        m_editIsSource = 0;
        if (m_current && !m_updating) PostMessage(REFRESH_LIST);
        return true;
    }
    if (id == IDC_EDIT && code == EN_CHANGE) {
        // Also while the page writes the edit itself: the flag then keeps the edit as written.
        m_editIsSource = 1;
        if (m_current && !m_updating) PostMessage(REFRESH_EDIT);
        return true;
    }
    if (id == IDC_AUTOMATIC && code == BN_CLICKED) {
        m_editIsSource = 0;
        if (m_current) PostMessage(REFRESH_AUTOBUTTON);
        return true;
    }
    if (id == IDC_ONE_SHOT && code == BN_CLICKED) {
        m_editIsSource = 0;
        if (m_current) PostMessage(ONESHOT_MSG);
        return true;
    }
    return CBasPage::OnCommand(wParam, lParam);
}

void CPFAdjustmentPage::OnHScroll(UINT code, UINT position, HWND scrollBar) {
    // One TB_ENDTRACK ends every user move of the slider, after it holds its new position.
    if (scrollBar && scrollBar == m_slider.m_hWnd && code == TB_ENDTRACK) {
        if (m_current && !m_updating) {
            m_editIsSource = 0;
            PostMessage(REFRESH_SLIDER);
        }
        return;
    }
    CBasPage::OnHScroll(code, position, scrollBar);
}

bool CPFAdjustmentPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    // Repaints follow no user action and must never write the camera.
    if (header && header->code == NM_CUSTOMDRAW && header->hwndFrom == m_slider.m_hWnd) {
        *result = CDRF_DODEFAULT;
        return true;
    }
    return CBasPage::OnNotify(wParam, lParam, result);
}

bool CPFAdjustmentPage::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == REFRESH_LIST) {
        OnRefreshList();
    } else if (message == REFRESH_SLIDER) {
        OnRefreshSlider();
    } else if (message == REFRESH_EDIT) {
        OnRefreshEdit();
    } else if (message == REFRESH_AUTOBUTTON) {
        OnRefreshAutoButton();
    } else if (message == ONESHOT_MSG) {
        OnOneShot();
    } else if (message == REPEAT_BUTTON_TRIGGER) {
        OnStep(wParam);
    } else {
        return CBasPage::OnWndMsg(message, wParam, lParam, result);
    }
    *result = 0;
    return true;
}

void CPFAdjustmentPage::OnRefreshList() {
    const int row = m_list.GetCurSel();
    if (row >= 0) m_current = static_cast<AdjustmentInfo*>(m_list.GetItemDataPtr(row));
    ShowCurrent();
}

void CPFAdjustmentPage::OnRefreshSlider() {
    CAmbrelController* controller = Controller();
    if (!m_current || m_updating || !controller) return;
    ShowBoundButtons(adjustment::TakeSliderPosition(*controller, *m_current, Display()));
}

void CPFAdjustmentPage::OnRefreshEdit() {
    CAmbrelController* controller = Controller();
    if (!m_current || m_updating || !controller) return;
    ShowBoundButtons(adjustment::TakeEditText(*controller, *m_current, Display()));
}

void CPFAdjustmentPage::OnRefreshAutoButton() {
    CAmbrelController* controller = Controller();
    if (!m_current || !controller) return;
    controller->SetAdjustmentAuto(m_current->id, m_autoButton.GetCheck() == BST_CHECKED ? 1 : 0);
    ShowCurrent();
}

void CPFAdjustmentPage::OnOneShot() {
    m_editIsSource = 0;
    CAmbrelController* controller = Controller();
    if (!m_current || !controller) return;
    for (const AdjustmentInfo& entry : controller->m_adjustments) {
        if (entry.id != m_current->id) continue;
        if (entry.adjustment) entry.adjustment->OneShot();
        break;
    }
    ShowCurrent();
}

void CPFAdjustmentPage::OnStep(WPARAM buttonId) {
    m_editIsSource = 0;
    if (!m_current) return;
    const bool integer = m_current->isInteger != 0;
    const double large =
        integer ? slider::TruncToInt32(m_current->largeStep) : m_current->largeStep;
    const double small = integer ? 1.0 : m_current->smallStep;
    double step = 0.0;
    switch (buttonId) {
        case IDC_SMALL_DECREASE:
            step = -small;
            break;
        case IDC_LARGE_DECREASE:
            step = -large;
            break;
        case IDC_SMALL_INCREASE:
            step = small;
            break;
        case IDC_LARGE_INCREASE:
            step = large;
            break;
        default:
            break;
    }
    // The step starts from what the edit shows, not from the slider.
    const std::wstring text = m_edit.GetWindowText();
    if (integer)
        ShowInt(slider::TruncToInt32(static_cast<double>(slider::ParseInt(text)) + step), true);
    else
        ShowReal(slider::ParseReal(text) + step, true);
}

ui::DialogTemplate AdjustmentPageTemplate() {
    using Page = CPFAdjustmentPage;
    constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
    constexpr DWORD kButton = kVisible | WS_TABSTOP | BS_PUSHBUTTON;
    DialogTemplate t;
    t.id = Page::IDD;
    t.cx = 227;
    t.cy = 84;
    t.style = WS_CHILD | DS_SETFONT | DS_FIXEDSYS;
    t.items = {
        {WC_LISTBOX, Page::IDC_LIST, L"", 2, 11, 70, 67,
         kVisible | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY, 0},
        {TRACKBAR_CLASS, Page::IDC_SLIDER, L"", 72, 14, 153, 15,
         kVisible | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS, 0},
        {WC_EDIT, Page::IDC_EDIT, L"", 114, 45, 71, 14,
         kVisible | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0},
        {WC_BUTTON, Page::IDC_LARGE_DECREASE, Page::kLargeDecreaseText, 78, 45, 16, 14, kButton, 0},
        {WC_BUTTON, Page::IDC_SMALL_DECREASE, Page::kSmallDecreaseText, 94, 45, 15, 14, kButton, 0},
        {WC_BUTTON, Page::IDC_SMALL_INCREASE, Page::kSmallIncreaseText, 188, 45, 15, 14, kButton,
         0},
        {WC_BUTTON, Page::IDC_LARGE_INCREASE, Page::kLargeIncreaseText, 204, 45, 15, 14, kButton,
         0},
        // Created hidden; nothing shows them, but the page keeps their states.
        {WC_BUTTON, Page::IDC_AUTOMATIC, Page::kAutomaticText, 104, 61, 48, 15,
         WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE, 0},
        {WC_BUTTON, Page::IDC_ONE_SHOT, Page::kOneShotText, 153, 61, 46, 14,
         WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0},
        {WC_STATIC, Page::IDC_MIN_LABEL, Page::kBoundText, 82, 31, 55, 8, kVisible | SS_LEFT, 0},
        {WC_STATIC, Page::IDC_MAX_LABEL, Page::kBoundText, 172, 29, 51, 8, kVisible | SS_RIGHT, 0},
        {WC_BUTTON, IDC_STATIC, Page::kGroupText, 0, 1, 227, 80, kVisible | BS_GROUPBOX, 0},
    };
    return t;
}
