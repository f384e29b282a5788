// The hand on real controls: the mouse messages it causes, at the places the controls themselves
// report (item, thumb and list rectangles), and the keystrokes through the dialog manager with
// the thread's keyboard state set as a person's fingers would set it. The controls raise their
// notifications themselves.
#include <algorithm>
#include <array>
#include <climits>
#include <thread>

#include "../../win32/Win32.h"
#include "../InputBackend.h"
#include "../InputChecks.h"

namespace ui::input::backend {
namespace {

using detail::Usable;
using win32::U;
using win32::W;

LPARAM Pack(POINT p) {
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

// The keys and buttons held down, as GetKeyState reports them while the input is delivered.
void SetKeys(std::initializer_list<std::pair<int, bool>> keys) {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    for (const auto& [vk, down] : keys) state[vk] = down ? 0x80 : 0;
    ::SetKeyboardState(state);
}

// A mouse message over `over` at `point` (its client coordinates): it goes to the window
// holding the mouse, if any, else to `over` when that can take mouse input.
void Mouse(HWND over, UINT message, POINT point, bool moveCursor = true) {
    // The cursor goes there first; the mouse move the platform makes of that runs before the
    // message itself, as the hand moves before it presses.
    POINT screen = point;
    ClientToScreen(over, &screen);
    if (moveCursor) {
        ::SetCursorPos(screen.x, screen.y);
        PumpMessages();
    }
    const HWND capture = GetCapture();
    const HWND target = capture ? capture : (Usable(over) ? over : nullptr);
    if (target) {
        POINT p = screen;
        ScreenToClient(target, &p);
        const WPARAM keys = message == WM_LBUTTONUP ? 0 : MK_LBUTTON;
        ::SendMessageW(W(target), message, keys, Pack(p));
    }
    PumpMessages();
}

void Down(HWND hwnd, POINT point) {
    SetKeys({{VK_LBUTTON, true}});
    Mouse(hwnd, WM_LBUTTONDOWN, point);
}

void Up(HWND hwnd, POINT point, bool moveCursor = true) {
    SetKeys({{VK_LBUTTON, false}});
    Mouse(hwnd, WM_LBUTTONUP, point, moveCursor);
}

void Click(HWND hwnd, POINT point) {
    Down(hwnd, point);
    if (IsWindow(hwnd)) Up(hwnd, point);
}

// A keyboard message to the focus, as a dialog host's loop hands it on: through the dialog
// manager of the focus's dialog, which translates key strokes into characters.
void SendKey(UINT message, UINT vk, wchar_t character = 0) {
    const HWND focus = GetFocus();
    if (!focus) return;
    const UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    ::MSG msg{};
    msg.hwnd = W(focus);
    msg.message = message;
    msg.wParam = message == WM_CHAR ? character : vk;
    msg.lParam = static_cast<LPARAM>((scan << 16) | 1u | (message == WM_KEYUP ? 0xC0000000u : 0));
    msg.time = ::GetTickCount();
    ::GetCursorPos(&msg.pt);
    if (const HWND dialog = win32::InnermostDialog(focus))
        if (::IsDialogMessageW(W(dialog), &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

struct Modifiers {
    bool shift = false;
    bool control = false;
};

// One keystroke: key down (the translation of which posts the character unless the dialog
// manager took the key), then key up, the queue running dry after each.
void Stroke(UINT vk, Modifiers mods = {}) {
    SetKeys({{VK_SHIFT, mods.shift},
             {VK_LSHIFT, mods.shift},
             {VK_CONTROL, mods.control},
             {VK_LCONTROL, mods.control},
             {static_cast<int>(vk), true}});
    SendKey(WM_KEYDOWN, vk);
    PumpMessages();
    SetKeys({{static_cast<int>(vk), false}});
    SendKey(WM_KEYUP, vk);
    SetKeys({{VK_SHIFT, false}, {VK_LSHIFT, false}, {VK_CONTROL, false}, {VK_LCONTROL, false}});
    PumpMessages();
}

// Programs sharing the clipboard (test runs side by side) must not paste each other's text.
class ClipboardTurn {
public:
    ClipboardTurn() : m_mutex(::CreateMutexW(nullptr, FALSE, L"Local\\AmbrelUiPaste")) {
        if (m_mutex) ::WaitForSingleObject(m_mutex, 5000);
    }
    ~ClipboardTurn() {
        if (!m_mutex) return;
        ::ReleaseMutex(m_mutex);
        ::CloseHandle(m_mutex);
    }
    ClipboardTurn(const ClipboardTurn&) = delete;
    ClipboardTurn& operator=(const ClipboardTurn&) = delete;

private:
    HANDLE m_mutex;
};

// Brings the row into the list's view, as the scroll bar would, and answers the middle of it.
POINT ListRowPoint(HWND list, int row) {
    RECT client{}, item{};
    GetClientRect(list, &client);
    ::SendMessageW(W(list), LB_GETITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    if (item.top < 0 || item.bottom > client.bottom) {
        const auto height = std::max<LRESULT>(1, ::SendMessageW(W(list), LB_GETITEMHEIGHT, 0, 0));
        const int visible = std::max(1, static_cast<int>(client.bottom / height));
        const int top = item.top < 0 ? row : row - visible + 1;
        ::SendMessageW(W(list), LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, top)), 0);
        ::SendMessageW(W(list), LB_GETITEMRECT, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
    }
    return POINT{std::max<LONG>(1, client.right / 2), (item.top + item.bottom) / 2};
}

bool Vertical(HWND slider) {
    return (GetWindowLong(slider, GWL_STYLE) & TBS_VERT) != 0;
}

// Where, along the channel, the mouse puts the slider at `position`: found on a copy of the
// slider made on a thread of its own (so that this thread's focus and mouse are left alone);
// nullopt-like INT_MIN when no pixel lands exactly there.
int PixelForPosition(HWND slider, int position) {
    RECT client{};
    GetClientRect(slider, &client);
    const DWORD style = static_cast<DWORD>(GetWindowLong(slider, GWL_STYLE)) &
                        ~(WS_DISABLED | WS_TABSTOP | WS_GROUP);
    const auto low = static_cast<int>(::SendMessageW(W(slider), TBM_GETRANGEMIN, 0, 0));
    const auto high = static_cast<int>(::SendMessageW(W(slider), TBM_GETRANGEMAX, 0, 0));
    const bool vertical = Vertical(slider);
    int found = INT_MIN;
    std::thread([&] {
        const ::HWND host =
            ::CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP, 0, 0, client.right,
                              client.bottom, nullptr, nullptr, win32::Instance(), nullptr);
        const ::HWND probe =
            ::CreateWindowExW(0, TRACKBAR_CLASSW, L"", style | WS_CHILD, 0, 0, client.right,
                              client.bottom, host, nullptr, win32::Instance(), nullptr);
        ::SendMessageW(probe, TBM_SETRANGEMIN, FALSE, low);
        ::SendMessageW(probe, TBM_SETRANGEMAX, FALSE, high);
        ::RECT channel{}, thumb{};
        ::SendMessageW(probe, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        ::SendMessageW(probe, TBM_SETPOS, TRUE, low);
        ::SendMessageW(probe, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        // The channel's rectangle is along the horizontal for both orientations.
        const int thumbLength = vertical ? thumb.bottom - thumb.top : thumb.right - thumb.left;
        const int start = channel.left + thumbLength / 2;
        const int length =
            std::max(1, static_cast<int>(channel.right - channel.left) - thumbLength);
        const long long span = std::max(1LL, static_cast<long long>(high) - low);
        const int estimate =
            start + static_cast<int>((static_cast<long long>(position) - low) * length / span);
        const int across =
            vertical ? (thumb.left + thumb.right) / 2 : (thumb.top + thumb.bottom) / 2;
        for (int offset : {0, 1, -1, 2, -2, 3, -3}) {
            const int along = estimate + offset;
            ::SendMessageW(probe, TBM_SETPOS, TRUE, position == low ? high : low);
            ::SendMessageW(probe, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
            const ::POINT grab{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
            ::SendMessageW(probe, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
            const LPARAM to = vertical ? MAKELPARAM(across, along) : MAKELPARAM(along, across);
            ::SendMessageW(probe, WM_MOUSEMOVE, MK_LBUTTON, to);
            ::SendMessageW(probe, WM_LBUTTONUP, 0, to);
            if (::SendMessageW(probe, TBM_GETPOS, 0, 0) == position) {
                found = along;
                break;
            }
        }
        ::DestroyWindow(host);
    }).join();
    return found;
}

}  // namespace

void MouseDown(HWND over, POINT point) {
    Down(over, point);
}

void MouseUp(HWND over, POINT point) {
    Up(over, point);
}

void LetGoOfMouse() {
    SetKeys({{VK_LBUTTON, false}});
}

void Keystroke(Key key) {
    static constexpr std::array<UINT, 12> kKeys = {VK_RETURN, VK_TAB,    VK_TAB,  VK_ESCAPE,
                                                   VK_BACK,   VK_DELETE, VK_HOME, VK_END,
                                                   VK_LEFT,   VK_RIGHT,  VK_UP,   VK_DOWN};
    Stroke(kKeys[static_cast<std::size_t>(key)], Modifiers{key == Key::ShiftTab, false});
}

// A character typed: the key that makes it in the keyboard layout, with Shift if needed; a
// character no key makes arrives as the character alone, as an input method delivers it.
void TypeCharacter(wchar_t c) {
    switch (c) {
        case L'\b':
            Stroke(VK_BACK);
            return;
        case L'\t':
            Stroke(VK_TAB);
            return;
        case L'\r':
        case L'\n':
            Stroke(VK_RETURN);
            return;
        default:
            break;
    }
    const SHORT key = ::VkKeyScanW(c);
    const bool plain = key != -1 && (HIBYTE(key) & ~1) == 0;
    if (plain) {
        Stroke(LOBYTE(key), Modifiers{(HIBYTE(key) & 1) != 0, false});
        return;
    }
    SendKey(WM_CHAR, 0, c);
    PumpMessages();
}

void Paste(std::wstring_view text) {
    ClipboardTurn turn;
    SetClipboardText(std::wstring(text));
    Stroke('V', Modifiers{false, true});
}

HWND InnermostDialog(HWND hwnd) {
    return win32::InnermostDialog(hwnd);
}

POINT RowPoint(HWND list, int row) {
    return ListRowPoint(list, row);
}

void ClickDroppedRow(HWND combo, int row) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetComboBoxInfo(W(combo), &info) || !info.hwndList) return;
    const HWND list = U(info.hwndList);
    Click(list, ListRowPoint(list, row));
}

void DragThumb(HWND slider, int position) {
    const bool vertical = Vertical(slider);
    const int along = PixelForPosition(slider, position);
    RECT thumb{};
    ::SendMessageW(W(slider), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const POINT grab{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    Down(slider, grab);
    if (!IsWindow(slider)) return;
    POINT to = grab;
    const bool onPixel = along != INT_MIN;
    if (onPixel) {
        (vertical ? to.y : to.x) = along;
        SetKeys({{VK_LBUTTON, true}});
        Mouse(slider, WM_MOUSEMOVE, to);
    } else if (::SendMessageW(W(slider), TBM_GETPOS, 0, 0) != position) {
        // No pixel of the channel stands for this position; the hand still gets there, between
        // two pixels, and the slider reports the move as it reports every move.
        ::SendMessageW(W(slider), TBM_SETPOS, TRUE, position);
        ::SendMessageW(::GetParent(W(slider)), vertical ? WM_VSCROLL : WM_HSCROLL,
                       MAKEWPARAM(TB_THUMBTRACK, static_cast<WORD>(position)),
                       reinterpret_cast<LPARAM>(W(slider)));
        PumpMessages();
    }
    // Between two pixels the cursor cannot show where the hand is; it is left where it was.
    if (IsWindow(slider)) Up(slider, to, onPixel);
}

}  // namespace ui::input::backend
