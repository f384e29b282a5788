// The in-memory extended dialog template the win32 backend hands the platform's dialog
// manager, built from a framework template. Private to platform/ui (and its tests).
#pragma once

#include <vector>

#include "ui/Template.h"

namespace ui::win32 {

// Packed WORDs in the platform's extended template layout; the font is the template's
// (8-point "MS Shell Dlg" by default) and DS_SETFONT is always set.
std::vector<WORD> BuildDialogTemplateEx(const DialogTemplate& dialogTemplate);

}  // namespace ui::win32
