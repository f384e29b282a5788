// The hand on the in-memory controls: the mouse and keyboard messages it causes, delivered to
// the window under it or holding the mouse, and to the focus through the dialog manager.
#include "../InputBackend.h"
#include "../../headless/Internal.h"
#include "../InputChecks.h"

namespace ui::input::backend {
namespace {

using headless::Deliver;
using headless::Find;

LPARAM Pack(POINT p) {
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

POINT Unpack(LPARAM point) {
    return POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
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
void Stroke(UINT vk, wchar_t character, bool shift = false) {
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

}  // namespace

void MouseDown(HWND over, POINT point) {
    Deliver(over, WM_LBUTTONDOWN, MK_LBUTTON, Pack(point));
    PumpMessages();
}

void MouseUp(HWND over, POINT point) {
    const HWND capture = GetCapture();
    if (capture && capture != over) {
        MapWindowPoints(over, capture, &point, 1);
        Deliver(capture, WM_LBUTTONUP, 0, Pack(point));
    } else if (capture == over || detail::Usable(over)) {
        Deliver(over, WM_LBUTTONUP, 0, Pack(point));
    }
    PumpMessages();
}

void LetGoOfMouse() {}

void Keystroke(Key key) {
    struct KeyStroke {
        UINT vk;
        wchar_t character;
    };
    static constexpr KeyStroke kStrokes[] = {{VK_RETURN, L'\r'}, {VK_TAB, L'\t'},  {VK_TAB, L'\t'},
                                             {VK_ESCAPE, 0x1B},  {VK_BACK, L'\b'}, {VK_DELETE, 0},
                                             {VK_HOME, 0},       {VK_END, 0},      {VK_LEFT, 0},
                                             {VK_RIGHT, 0},      {VK_UP, 0},       {VK_DOWN, 0}};
    const KeyStroke& stroke = kStrokes[static_cast<size_t>(key)];
    Stroke(stroke.vk, stroke.character, key == Key::ShiftTab);
}

void TypeCharacter(wchar_t c) {
    switch (c) {
        case L'\b':
            Stroke(VK_BACK, L'\b');
            break;
        case L'\t':
            Stroke(VK_TAB, L'\t');
            break;
        case L'\r':
        case L'\n':
            Stroke(VK_RETURN, L'\r');
            break;
        default:
            Stroke(VirtualKeyOf(c), c);
            break;
    }
}

void Paste(std::wstring_view text) {
    SetClipboardText(std::wstring(text));
    Stroke('V', 0x16);  // Ctrl+V
}

HWND InnermostDialog(HWND hwnd) {
    return headless::InnermostDialog(hwnd);
}

POINT RowPoint(HWND list, int row) {
    auto w = Find(list);
    headless::ListBoxScrollIntoView(*w, row);
    return Unpack(headless::ListBoxRowPoint(*w, row));
}

void ClickDroppedRow(HWND combo, int row) {
    headless::ComboListClick(*Find(combo), row);
    PumpMessages();
}

void DragThumb(HWND slider, int position) {
    auto w = Find(slider);
    const bool vertical = (GetWindowLong(slider, GWL_STYLE) & TBS_VERT) != 0;
    RECT client{};
    GetClientRect(slider, &client);
    auto at = [&](int pos) {
        const int along = headless::TrackbarPositionToX(*w, pos);
        const int across = (vertical ? client.right : client.bottom) / 2;
        return vertical ? POINT{across, along} : POINT{along, across};
    };
    const int from = static_cast<int>(SendMessage(slider, TBM_GETPOS));
    MouseDown(slider, at(from));
    if (!IsWindow(slider)) return;
    headless::TrackbarSetDragTarget(*w, position);
    const HWND holder = GetCapture() ? GetCapture() : slider;
    Deliver(holder, WM_MOUSEMOVE, MK_LBUTTON, Pack(at(position)));
    PumpMessages();
    if (IsWindow(slider)) MouseUp(slider, at(position));
}

}  // namespace ui::input::backend
