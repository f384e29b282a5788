// An edit control that takes Enter and Tab itself and turns them into a move to the next control.
#include "EditEx.h"

#include "ui/Window.h"

namespace {

constexpr wchar_t kEnter = 13;
constexpr wchar_t kTab = 9;

}  // namespace

ui::LRESULT CEditEx::WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
    switch (message) {
        case ui::WM_GETDLGCODE:
            return ui::CEdit::WindowProc(message, wParam, lParam) | ui::DLGC_WANTALLKEYS;
        case ui::WM_CHAR:
            if (wParam == kEnter || wParam == kTab) {
                // Forward even with Shift: the key's one job is to take the user out of the
                // edit, and leaving it is what commits the value.
                const ui::HWND parent = ui::GetParent(m_hWnd);
                if (ui::GetWindowKind(parent) == ui::WindowKind::Dialog)
                    ui::SendMessage(parent, ui::WM_NEXTDLGCTL, 0, 0);
                return 0;
            }
            break;
        default:
            break;
    }
    return ui::CEdit::WindowProc(message, wParam, lParam);
}
