// What a person's hand does on one backend's controls: the mouse at a point, a key, a character,
// the clipboard, and the few control parts only the backend can find. The input entry points
// (Input.cpp) are written once over it. Private to the automation driver.
#pragma once

#include <string_view>

#include "ui/Input.h"
#include "ui/Window.h"

namespace ui::input::backend {

// The mouse button goes down or up over `over` at `point` (its client coordinates): the message
// goes to the window holding the mouse, if any, else to `over` when it can take mouse input.
// The queue runs dry afterwards.
void MouseDown(HWND over, POINT point);
void MouseUp(HWND over, POINT point);
// The mouse button is let go of, whatever window it was over (even one gone meanwhile).
void LetGoOfMouse();
// One keystroke to the window with the focus, through the dialog manager of its dialog.
void Keystroke(Key key);
// One character typed to the focus: '\b' is Backspace, '\t' Tab, '\r' or '\n' Enter.
void TypeCharacter(wchar_t c);
// `text` on the clipboard, then the paste keystroke (Ctrl+V) to the focus.
void Paste(std::wstring_view text);

// The dialog whose dialog manager handles keyboard input for `hwnd`, or null.
HWND InnermostDialog(HWND hwnd);
// The middle of a list box's row, scrolled into view first as the scroll bar would.
POINT RowPoint(HWND list, int row);
// A click on a row of a combo box's dropped-down list.
void ClickDroppedRow(HWND combo, int row);
// The slider's thumb pressed, dragged to `position` (in range) and let go.
void DragThumb(HWND slider, int position);

}  // namespace ui::input::backend
