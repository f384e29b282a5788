// The user-input entry points: checks that a person could act on the window, then the mouse
// and keyboard messages that person's hand would cause.
#include "ui/Input.h"

#include <algorithm>
#include <initializer_list>

#include "../common/InputChecks.h"
#include "Internal.h"

namespace ui::input {
namespace {

using headless::Deliver;
using headless::Find;

using detail::Check;
using detail::CheckMouse;
using detail::HeldButtons;
using detail::Usable;

LPARAM Center(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return MAKELPARAM(static_cast<WORD>(r.right / 2), static_cast<WORD>(r.bottom / 2));
}

// The mouse goes up over `over`; the message goes to the window holding the mouse, if any,
// else to `over` when it can take mouse input.
void MouseUp(HWND over, LPARAM point) {
    const HWND capture = GetCapture();
    if (capture && capture != over) {
        POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
        MapWindowPoints(over, capture, &p, 1);
        Deliver(capture, WM_LBUTTONUP, 0,
                MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    } else if (capture == over || Usable(over)) {
        Deliver(over, WM_LBUTTONUP, 0, point);
    }
    PumpMessages();
}

void MouseDown(HWND hwnd, LPARAM point) {
    Deliver(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PumpMessages();
}

void Click(HWND hwnd, LPARAM point) {
    MouseDown(hwnd, point);
    if (IsWindow(hwnd)) MouseUp(hwnd, point);
}

// A keyboard message goes to the focus, through the dialog manager of its innermost dialog.
headless::DialogKey SendKey(UINT message, UINT code) {
    const HWND focus = GetFocus();
    if (!focus) return headless::DialogKey::NotForDialog;
    MSG msg;
    msg.hwnd = focus;
    msg.message = message;
    msg.wParam = code;
    msg.lParam = message == WM_KEYUP ? static_cast<LPARAM>(0xC0000001) : 1;
    if (const HWND dialog = headless::InnermostDialog(focus)) {
        const headless::DialogKey r = headless::HandleDialogKey(dialog, &msg);
        if (r != headless::DialogKey::NotForDialog) return r;
    }
    Deliver(focus, message, code, msg.lParam);
    return headless::DialogKey::Delivered;
}

// One keystroke: key down (which yields the character unless the dialog manager took the key
// for navigation), then key up, the queue running dry after each.
void Keystroke(UINT vk, wchar_t character, bool shift = false) {
    auto thread = headless::CurrentThread();
    thread->shiftDown = shift;
    if (SendKey(WM_KEYDOWN, vk) == headless::DialogKey::Delivered && character)
        SendKey(WM_CHAR, character);
    PumpMessages();
    SendKey(WM_KEYUP, vk);
    thread->shiftDown = false;
    PumpMessages();
}

UINT VirtualKeyOf(wchar_t c) {
    const wchar_t upper = plat::AsciiUpper(c);
    if ((upper >= L'A' && upper <= L'Z') || (upper >= L'0' && upper <= L'9'))
        return static_cast<UINT>(upper);
    switch (c) {
        case L' ':
            return VK_SPACE;
        case L'-':
            return 0xBD;  // VK_OEM_MINUS
        case L'.':
            return 0xBE;  // VK_OEM_PERIOD
        case L',':
            return 0xBC;  // VK_OEM_COMMA
        case L'+':
            return 0xBB;  // VK_OEM_PLUS
        default:
            return 0;
    }
}

void FocusAsDialogManager(HWND hwnd) {
    const HWND parent = GetParent(hwnd);
    const HWND dialog = parent ? headless::InnermostDialog(parent) : nullptr;
    if (dialog)
        Deliver(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hwnd), 1);
    else
        SetFocus(hwnd);
    PumpMessages();
}

Result PrepareEdit(HWND edit) {
    const Result r = Check(edit, {WindowKind::Edit});
    if (r != Result::Ok) return r;
    if (GetFocus() != edit) FocusAsDialogManager(edit);
    if (IsWindow(edit)) Deliver(edit, EM_SETSEL, 0, -1);
    return Result::Ok;
}

}  // namespace

Result SelectRow(HWND listOrCombo, int row) {
    const Result r = CheckMouse(listOrCombo, {WindowKind::ListBox, WindowKind::ComboBox});
    if (r != Result::Ok) return r;
    const bool combo = GetWindowKind(listOrCombo) == WindowKind::ComboBox;
    const auto count = SendMessage(listOrCombo, combo ? CB_GETCOUNT : LB_GETCOUNT);
    if (row < 0 || row >= count) return Result::OutOfRange;
    if (!combo) {
        auto w = Find(listOrCombo);
        headless::ListBoxScrollIntoView(*w, row);
        Click(listOrCombo, headless::ListBoxRowPoint(*w, row));
        return Result::Ok;
    }
    Click(listOrCombo, Center(listOrCombo));
    if (auto w = Find(listOrCombo); w && SendMessage(listOrCombo, CB_GETDROPPEDSTATE)) {
        headless::ComboListClick(*w, row);
        PumpMessages();
    }
    return Result::Ok;
}

Result TypeText(HWND edit, std::wstring_view text) {
    const Result r = PrepareEdit(edit);
    if (r != Result::Ok) return r;
    for (wchar_t c : text) {
        switch (c) {
            case L'\b':
                Keystroke(VK_BACK, L'\b');
                break;
            case L'\t':
                Keystroke(VK_TAB, L'\t');
                break;
            case L'\r':
            case L'\n':
                Keystroke(VK_RETURN, L'\r');
                break;
            default:
                Keystroke(VirtualKeyOf(c), c);
                break;
        }
    }
    return Result::Ok;
}

Result PasteText(HWND edit, std::wstring_view text) {
    const Result r = PrepareEdit(edit);
    if (r != Result::Ok) return r;
    SetClipboardText(std::wstring(text));
    Keystroke('V', 0x16);  // Ctrl+V
    return Result::Ok;
}

Result PressKey(HWND window, Key key) {
    const Result r = Check(window);
    if (r != Result::Ok) return r;
    if (GetFocus() != window) FocusAsDialogManager(window);
    switch (key) {
        case Key::Enter:
            Keystroke(VK_RETURN, L'\r');
            break;
        case Key::Tab:
            Keystroke(VK_TAB, L'\t');
            break;
        case Key::ShiftTab:
            Keystroke(VK_TAB, L'\t', true);
            break;
        case Key::Escape:
            Keystroke(VK_ESCAPE, 0x1B);
            break;
        case Key::Backspace:
            Keystroke(VK_BACK, L'\b');
            break;
        case Key::Delete:
            Keystroke(VK_DELETE, 0);
            break;
        case Key::Home:
            Keystroke(VK_HOME, 0);
            break;
        case Key::End:
            Keystroke(VK_END, 0);
            break;
        case Key::Left:
            Keystroke(VK_LEFT, 0);
            break;
        case Key::Right:
            Keystroke(VK_RIGHT, 0);
            break;
        case Key::Up:
            Keystroke(VK_UP, 0);
            break;
        case Key::Down:
            Keystroke(VK_DOWN, 0);
            break;
    }
    return Result::Ok;
}

Result MoveFocus(HWND window) {
    const Result r = Check(window);
    if (r != Result::Ok) return r;
    FocusAsDialogManager(window);
    return Result::Ok;
}

Result Click(HWND button) {
    const Result r = CheckMouse(button, {WindowKind::PushButton, WindowKind::CheckBox,
                                         WindowKind::RadioButton, WindowKind::Static});
    if (r != Result::Ok) return r;
    Click(button, Center(button));
    return Result::Ok;
}

Result DragSlider(HWND slider, int position) {
    const Result r = CheckMouse(slider, {WindowKind::Slider});
    if (r != Result::Ok) return r;
    const auto low = static_cast<int>(SendMessage(slider, TBM_GETRANGEMIN));
    const auto high = static_cast<int>(SendMessage(slider, TBM_GETRANGEMAX));
    if (position < low || position > high) return Result::OutOfRange;
    auto w = Find(slider);
    const bool vertical = (GetWindowLong(slider, GWL_STYLE) & TBS_VERT) != 0;
    RECT client{};
    GetClientRect(slider, &client);
    auto at = [&](int pos) {
        const int along = headless::TrackbarPositionToX(*w, pos);
        const int across = (vertical ? client.right : client.bottom) / 2;
        return vertical ? MAKELPARAM(static_cast<WORD>(across), static_cast<WORD>(along))
                        : MAKELPARAM(static_cast<WORD>(along), static_cast<WORD>(across));
    };
    const int from = static_cast<int>(SendMessage(slider, TBM_GETPOS));
    MouseDown(slider, at(from));
    if (!IsWindow(slider)) return Result::Ok;
    headless::TrackbarSetDragTarget(*w, position);
    const HWND holder = GetCapture() ? GetCapture() : slider;
    Deliver(holder, WM_MOUSEMOVE, MK_LBUTTON, at(position));
    PumpMessages();
    if (IsWindow(slider)) MouseUp(slider, at(position));
    return Result::Ok;
}

Result PressSpin(HWND spin, Arrow arrow) {
    const Result r = CheckMouse(spin, {WindowKind::Spin});
    if (r != Result::Ok) return r;
    RECT c{};
    GetClientRect(spin, &c);
    const bool up = arrow == Arrow::Up;
    const LPARAM point = (GetWindowLong(spin, GWL_STYLE) & UDS_HORZ)
                             ? MAKELPARAM(static_cast<WORD>(up ? c.right * 3 / 4 : c.right / 4),
                                          static_cast<WORD>(c.bottom / 2))
                             : MAKELPARAM(static_cast<WORD>(c.right / 2),
                                          static_cast<WORD>(up ? c.bottom / 4 : c.bottom * 3 / 4));
    Click(spin, point);
    return Result::Ok;
}

Result PressButton(HWND button) {
    const Result r =
        CheckMouse(button, {WindowKind::PushButton, WindowKind::CheckBox, WindowKind::RadioButton});
    if (r != Result::Ok) return r;
    HeldButtons().insert(button);
    MouseDown(button, Center(button));
    return Result::Ok;
}

Result ReleaseButton(HWND button) {
    if (!HeldButtons().erase(button))
        return IsWindow(button) ? Result::NotPressed : Result::NoWindow;
    if (!IsWindow(button)) return Result::Ok;
    MouseUp(button, Center(button));
    return Result::Ok;
}

Result ClickTab(HWND tabControl, int index) {
    const Result r = CheckMouse(tabControl, {WindowKind::Tab});
    if (r != Result::Ok) return r;
    if (index < 0 || index >= SendMessage(tabControl, TCM_GETITEMCOUNT)) return Result::OutOfRange;
    RECT header{};
    SendMessage(tabControl, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                reinterpret_cast<LPARAM>(&header));
    Click(tabControl, MAKELPARAM(static_cast<WORD>((header.left + header.right) / 2),
                                 static_cast<WORD>((header.top + header.bottom) / 2)));
    return Result::Ok;
}

}  // namespace ui::input
