// The window manager: creating and destroying windows, the window tree, state and geometry,
// sending and posting messages, the message pump and its clock, timers, focus and the dialog
// manager. Everything here must be called on the thread that created the window concerned,
// except PostMessage and RegisterWindowMessage, which any thread may call.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Messages.h"
#include "ui/Types.h"

namespace ui {

// What a window is, from its class and style (a button's style decides between push button,
// check box, radio button and group box).
enum class WindowKind {
    Window,  // any other class: a plain window with the default behaviour
    Dialog,
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Static,
    Edit,
    ListBox,
    ComboBox,
    Slider,
    Spin,
    Tab,
};
const wchar_t* WindowKindName(WindowKind kind);

class CWnd;

// Creates a window of a predefined class (above) or, for any other class name, a plain window.
// x, y are in the parent's client coordinates (screen coordinates without a parent); a child
// is placed last in its siblings' z-order, which is the dialog manager's tab order. `object`,
// when given, is bound before the window's first message, as a subclassing CWnd. Answers null
// when WM_NCCREATE answers false or WM_CREATE answers -1.
HWND CreateWindowEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                    int x, int y, int cx, int cy, HWND parent, int id, CWnd* object = nullptr,
                    void* createParams = nullptr);

// WM_DESTROY reaches the window first and then its children (each while all of them still
// exist); WM_NCDESTROY reaches the children first and the window last, after which every
// handle of the tree is invalid. A window holding the focus gives it to its parent first.
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);
std::wstring GetClassName(HWND hwnd);
WindowKind GetWindowKind(HWND hwnd);

// The tree.
HWND GetParent(HWND hwnd);
// Moves the window under a new parent (null: no parent), at the top of its new siblings, at
// the same position in the new parent's client area. Answers the old parent.
HWND SetParent(HWND hwnd, HWND newParent);
bool IsChild(HWND parent, HWND hwnd);  // any descendant
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetDlgItem(HWND dialog, int id);  // direct children only
int GetDlgCtrlID(HWND hwnd);

// State.
LONG GetWindowLong(HWND hwnd, int index);  // GWL_STYLE, GWL_EXSTYLE, GWL_ID
LONG SetWindowLong(HWND hwnd, int index, LONG value);
bool ShowWindow(HWND hwnd, int command);    // answers whether the window was visible
bool IsWindowVisible(HWND hwnd);            // the window and every ancestor
bool EnableWindow(HWND hwnd, bool enable);  // answers whether the window was disabled
bool IsWindowEnabled(HWND hwnd);            // the window's own state
bool SetWindowText(HWND hwnd, const wchar_t* text);
std::wstring GetWindowText(HWND hwnd);
int GetWindowTextLength(HWND hwnd);

// Geometry. Window rectangles are in screen coordinates; a window's client area is its
// rectangle less its frame (WS_BORDER 1 px; WS_DLGFRAME, WS_EX_DLGMODALFRAME 3 px;
// WS_THICKFRAME 4 px; WS_EX_CLIENTEDGE 2 px more; WS_EX_STATICEDGE 1 px more; a caption
// (WS_CAPTION) 18 px more at the top).
bool GetWindowRect(HWND hwnd, RECT* rect);
bool GetClientRect(HWND hwnd, RECT* rect);
bool ClientToScreen(HWND hwnd, POINT* point);
bool ScreenToClient(HWND hwnd, POINT* point);
// Maps points from one window's client coordinates to another's (null: the screen).
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int cx, int cy, bool repaint = true);

// Messages. SendMessage runs the window's procedure at once and answers its result.
// PostMessage queues the message on the window's thread; it runs from that thread's pump
// after the current handler returns, in posting order, and is dropped if the window is gone
// by then. Posting to an invalid window fails.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
bool PostMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The same number for the same name (compared without regard to case, as the platform's atom
// table does) in the whole process, from kRegisteredMessageFirst up; 0 for an empty name.
UINT RegisterWindowMessage(const wchar_t* name);
// The class's own procedure (the control's default behaviour, the dialog manager's for
// dialogs), bypassing any CWnd bound to the window.
LRESULT CallDefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The calling thread's message pump. PumpMessages runs every posted message (including those
// posted meanwhile) and every timer due by the thread's clock until nothing is left; it
// answers how many it ran. Timers fire only from here (and from AdvanceClock).
std::size_t PumpMessages();
// The clock of the calling thread's timers is a manual one that only AdvanceClock moves: the
// pump fires a timer when the clock has reached it.
// Moves the manual clock on by `milliseconds`: every timer falling due meanwhile fires in
// time order (ties in the order the timers were set), each WM_TIMER delivered as the pump
// delivers it with the clock standing at its due time, and the posted messages it leaves run
// before the next timer. A timer set again inside its handler counts from that time.
void AdvanceClock(std::uint32_t milliseconds);
std::uint64_t GetTickCount64();
DWORD GetTickCount();

// Timers: WM_TIMER with wParam = id every `elapse` ms (at least USER_TIMER_MINIMUM, 10 ms,
// as on the platform). Setting an existing id again restarts it. Destroying the window kills
// its timers.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse);
bool KillTimer(HWND hwnd, UINT_PTR id);

// Focus (one per thread). SetFocus sends WM_KILLFOCUS to the old window (GetFocus already
// answers the new one then) and WM_SETFOCUS to the new; it refuses a window that, or one of
// whose ancestors, is disabled, and answers the previous focus (null when refused).
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();
// Whether the key is down as the current input message is delivered (the high bit set).
short GetKeyState(int virtualKey);

// Text the paste keystroke (and WM_PASTE) inserts; the copy and cut keystrokes put text here.
void SetClipboardText(const std::wstring& text);
std::wstring GetClipboardText();

// The dialog manager.
// Dialog units to pixels with the fixed base units of 8-point "MS Shell Dlg" at 96 dpi,
// 6 x 13 pixels (x * 6 / 4 and y * 13 / 8, rounded to nearest as MulDiv does); other point
// sizes have that font's own base units, which only come close to scaling in proportion
// (12 x 25 at 16 points; the in-memory backend scales them in proportion).
bool MapDialogRect(HWND dialog, RECT* rect);
SIZE DialogBaseUnits(int pointSize = 8);
// The next (or previous) control after `control` in the tab order that has WS_TABSTOP and
// is visible and enabled by its own style, wrapping, descending into visible and enabled
// WS_EX_CONTROLPARENT children; `control` itself when there is no other; with a null
// `control`, the first (or last).
HWND GetNextDlgTabItem(HWND dialog, HWND control, bool previous);
// Keyboard input for a dialog as the platform's dialog manager handles it: Tab and Shift+Tab
// move the focus (WM_NEXTDLGCTL), Enter sends WM_COMMAND for the focused push button, the
// default push button or IDOK, Escape sends WM_COMMAND IDCANCEL; unless the focused control's
// WM_GETDLGCODE asks for the key (DLGC_WANTMESSAGE / DLGC_WANTALLKEYS, DLGC_WANTTAB,
// DLGC_WANTARROWS, DLGC_WANTCHARS), in which case the message is delivered to it. Answers
// false when the message is not for this dialog or one of its descendants.
bool IsDialogMessage(HWND dialog, MSG* msg);
// Hides a modeless dialog and records the result, as the platform does for one.
bool EndDialog(HWND dialog, int result);
bool IsDialogEnded(HWND dialog, int* result = nullptr);

}  // namespace ui
