// The seam between the portable window classes and a backend: binding window objects to
// windows, and delivering a window's messages to its bound object. Private to platform/ui.
#pragma once

#include "ui/Types.h"

namespace ui {
class CWnd;
}

namespace ui::detail {

// Implemented by the backend.
bool BindObject(HWND hwnd, CWnd* object);  // false when another object is bound
CWnd* BoundObject(HWND hwnd);
void UnbindObject(HWND hwnd, CWnd* object);

// Implemented by the portable code: runs object->WindowProc for a message of `hwnd`, keeping
// the current message for Default(), and unbinds the object after WM_NCDESTROY.
LRESULT DeliverToObject(CWnd* object, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ui::detail
