// What a person's input does, for tests and the reference host: each entry point first checks
// that a person could do it (the window exists, is of the right kind, is visible with all its
// ancestors and enabled with all its ancestors, and the row or position is in range) and
// otherwise does nothing and answers why. Otherwise it delivers the mouse and keyboard
// messages the real input would, so the controls raise the same notifications in the same
// order. A person is slower than the message loop: after each mouse or key message, the
// thread's queue is run dry (PumpMessages) before the next; the clock does not move.
#pragma once

#include <string_view>

#include "ui/Types.h"

namespace ui::input {

enum class Result {
    Ok,
    NoWindow,    // the handle is not a window
    WrongKind,   // not a control of the kind the action needs
    Hidden,      // the window or one of its ancestors is hidden
    Disabled,    // the window or one of its ancestors is disabled
    OutOfRange,  // no such row, tab or position
    NotPressed,  // ReleaseButton on a button that was not held down
    MouseHeld,   // a mouse action while PressButton holds the mouse button down
};
// "ok", "no such window", "wrong kind of control", "control is hidden", "control is
// disabled", "out of range", "button is not pressed", "mouse button is held down".
const wchar_t* Describe(Result result);

enum class Key {
    Enter,
    Tab,
    ShiftTab,
    Escape,
    Backspace,
    Delete,
    Home,
    End,
    Left,
    Right,
    Up,
    Down
};
enum class Arrow { Up, Down };  // for a UDS_HORZ spin: Up is the right arrow

// A click on a row of a list box (focus, button down selects it, button up raises
// LBN_SELCHANGE with LBS_NOTIFY, even for the row already selected) or of a combo box's list
// (a click on the combo box drops the list down: CBN_DROPDOWN; the click on the row selects
// it: CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE). A row out of view is scrolled to first.
Result SelectRow(HWND listOrCombo, int row);
// Gives the edit the focus if it has not (MoveFocus), selects all its text, then types the
// characters one key at a time to whatever window has the focus: WM_KEYDOWN, WM_CHAR,
// WM_KEYUP through the dialog manager. '\b' is Backspace, '\t' Tab, '\r' or '\n' Enter.
Result TypeText(HWND edit, std::wstring_view text);
// As TypeText, but the text goes in with one paste keystroke (Ctrl+V): one EN_UPDATE and one
// EN_CHANGE, and ES_NUMBER does not filter it.
Result PasteText(HWND edit, std::wstring_view text);
// A key pressed while `window` has the focus (given to it first if it has not, as
// MoveFocus), through the dialog manager of its innermost dialog.
Result PressKey(HWND window, Key key);
// The focus moved to the window as the dialog manager moves it (an edit's text is selected).
Result MoveFocus(HWND window);
// A mouse click (button down, button up over the window) on a push button, check box, radio
// button or static control.
Result Click(HWND button);
// Presses the slider's thumb, drags it to `position` (TB_THUMBTRACK when it moves) and lets
// go (TB_THUMBPOSITION, TB_ENDTRACK), as WM_HSCROLL (WM_VSCROLL for TBS_VERT) to the parent.
Result DragSlider(HWND slider, int position);
// A click on one arrow of an up-down control: UDN_DELTAPOS first, then the change unless
// the parent refused it, WM_VSCROLL (WM_HSCROLL for UDS_HORZ) SB_THUMBPOSITION, and on
// release SB_ENDSCROLL. At the ends of the range the position stays.
Result PressSpin(HWND spin, Arrow arrow);
// A button held down now and let go later; between the two the clock may be advanced, keys
// may be pressed, but no other mouse action (selecting a row, a click, a drag, a spin arrow, a
// tab or another press) is possible: those answer MouseHeld and do nothing.
// ReleaseButton is accepted even if the button has been disabled or hidden meanwhile (the
// mouse goes up anyway; the button then no longer has the mouse and is not told).
Result PressButton(HWND button);
Result ReleaseButton(HWND button);
// A click on the tab's header: TCN_SELCHANGING (a non-zero answer keeps the selection),
// TCN_SELCHANGE, then NM_CLICK when the mouse goes up; nothing but NM_CLICK for the tab
// already selected.
Result ClickTab(HWND tabControl, int index);

}  // namespace ui::input
