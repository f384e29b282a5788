// The names a script gives the plug-in's dialog and pages, and the templates they come from.
#pragma once

#include <array>
#include <string_view>

#include "ui/Types.h"

namespace host {

struct PageName {
    std::string_view name;
    ui::UINT templateId;  // 0 for the docked dialog itself
};

// In the order dumps list them.
inline constexpr std::array<PageName, 5> kPages = {{
    {"dialog", 0},
    {"settings", 16312},
    {"adjustment", 16314},
    {"image", 16317},
    {"exposure", 16319},
}};

// The docked dialog's tab control.
inline constexpr int kTabControlId = 16313;

}  // namespace host
