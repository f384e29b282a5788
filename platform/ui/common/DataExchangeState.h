// Whether data exchange is holding off the notifications that reach a window. Private to
// platform/ui.
#pragma once

#include "ui/Types.h"

namespace ui::detail {

bool NotificationsHeldOff(HWND hwnd);

}  // namespace ui::detail
