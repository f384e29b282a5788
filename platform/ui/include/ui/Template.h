// Dialog templates: a plain description of a dialog and its controls in dialog units, kept in
// one process-wide registry by template id, from which every backend builds the dialog.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Types.h"

namespace ui {

struct DialogItemTemplate {
    std::wstring className;  // WC_BUTTON, WC_EDIT, ... (see Window.h)
    int id = -1;             // -1 (IDC_STATIC) for a control nobody addresses
    std::wstring text;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units, in the dialog's client area
    DWORD style = 0;                   // WS_CHILD is implied; WS_VISIBLE is not
    DWORD exStyle = 0;
};

struct DialogTemplate {
    UINT id = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units, of the client area (the frame is outside)
    DWORD style = 0;
    DWORD exStyle = 0;
    std::wstring caption;
    std::wstring fontName = L"MS Shell Dlg";
    int fontPointSize = 8;
    std::vector<DialogItemTemplate> items;  // in tab (z) order
};

// Registers (or replaces) the template under its id; thread-safe. A plug-in registers its
// templates while it loads; a dialog created afterwards uses the template as registered then.
void RegisterDialogTemplate(DialogTemplate dialogTemplate);
void UnregisterDialogTemplate(UINT id);
std::shared_ptr<const DialogTemplate> FindDialogTemplate(UINT id);

// Creates a modeless dialog from the registered template: the dialog window (class WC_DIALOG;
// DS_CONTROL gives it WS_EX_CONTROLPARENT and takes WS_CAPTION and WS_SYSMENU away), its
// controls in template order (any class not predefined making a plain window), `object` bound to
// it from its first message, then WM_INITDIALOG (whose answer true gives the focus to the
// first tab stop when the dialog is visible or is not DS_CONTROL), then shown if the template
// has WS_VISIBLE. Null when the id is not registered or the dialog destroyed itself meanwhile.
class CWnd;
HWND CreateDialogFromTemplate(UINT id, HWND parent, CWnd* object, LPARAM initParam = 0);
HWND CreateDialogIndirect(const DialogTemplate& dialogTemplate, HWND parent, CWnd* object,
                          LPARAM initParam = 0);

}  // namespace ui
