// A push button that keeps triggering its parent while held down, faster and faster.
#include "RepeatButton.h"

#include "RegisteredMessages.h"

void CRepeatButton::StopRepeat() {
    KillTimer(kTimerId);
}

ui::LRESULT CRepeatButton::WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
    switch (message) {
        case ui::WM_LBUTTONDOWN:
            // The first step happens before the button takes the press.
            Trigger(true);
            m_interval = kFirstDelay;
            // The step may have reached a bound and disabled this button; a disabled button must
            // not go on stepping.
            if (IsWindowEnabled()) SetTimer(kTimerId, m_interval);
            break;
        case ui::WM_LBUTTONUP:
            StopRepeat();
            break;
        default:
            break;
    }
    return ui::CButton::WindowProc(message, wParam, lParam);
}

void CRepeatButton::OnTimer(ui::UINT_PTR id) {
    if (id != kTimerId) return;
    Trigger(false);
    if (m_interval == kFirstDelay) m_interval = kSecondDelay;
    if (m_interval > 1) --m_interval;
    SetTimer(kTimerId, m_interval);
}

void CRepeatButton::OnDestroy() {
    StopRepeat();
    ui::CButton::OnDestroy();
}

void CRepeatButton::Trigger(bool send) {
    const ui::HWND parent = ui::GetParent(m_hWnd);
    const auto id = static_cast<ui::WPARAM>(GetDlgCtrlID());
    if (send)
        ui::SendMessage(parent, REPEAT_BUTTON_TRIGGER, id, 0);
    else
        ui::PostMessage(parent, REPEAT_BUTTON_TRIGGER, id, 0);
}
