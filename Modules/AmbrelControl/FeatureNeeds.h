// Which camera property each feature of the plug-in needs, and what its absence switches off.
#pragma once

#include <cstdint>
#include <span>

namespace features {

// What the plug-in does with a property.
enum class Role {
    Value,     // an entry's value: looked for, then read and written
    Option,    // looked for: offers one option of an entry
    Minimum,   // read once per refresh: the lower bound of an entry
    Maximum,   // read once per refresh: the upper bound of an entry
    Command,   // written with 1 when the user runs the command
    Geometry,  // read and written by the Image page for the window
};

inline constexpr int32_t kNoEntry = -1;

// One property the plug-in looks for, reads or writes. A row with a parent matters only when
// the camera lists the parent (a range or an option of a feature the camera has).
struct PropertyNeed {
    const char* property;
    Role role;
    int32_t entryId;        // the controller entry it belongs to, or kNoEntry
    const char* parent;     // null: looked for whenever a port is open
    const wchar_t* effect;  // what the user loses when the camera does not list it
};

// Every property of the plug-in, in the order the dialog offers the features.
std::span<const PropertyNeed> PropertyNeeds();

// The row of this role for this entry, or null.
const PropertyNeed* NeedOf(int32_t entryId, Role role);

}  // namespace features
