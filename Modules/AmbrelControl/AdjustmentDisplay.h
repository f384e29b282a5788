// Showing a numeric adjustment on a slider and an edit, as the Adjustment and Exposure pages
// do: the page's copy of a controller record, its bound labels, and putting a value on the
// controls after the camera has taken it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ControllerTypes.h"
#include "SliderMapping.h"
#include "ui/Controls.h"

class CAmbrelController;

namespace adjustment {

// The controls that show one adjustment. `updating` is the page's flag, set while the page
// writes the controls so that it ignores their notifications; with `keepEditText` the edit
// keeps what the user typed.
struct Display {
    ui::CSliderCtrl& slider;
    ui::CEdit& edit;
    uint8_t& updating;
    bool keepEditText;
};

// A page's copy of a controller entry, with its steps and slider scale worked out. It holds no
// camera interface: the page reaches the camera through the controller by the entry's id.
std::unique_ptr<AdjustmentInfo> CopyForPage(const AdjustmentInfo& entry);

// The range's ends as the bound labels show them.
std::wstring MinLabel(const AdjustmentInfo& info);
std::wstring MaxLabel(const AdjustmentInfo& info);

// Whether the value shown sits at an end of the range.
struct Shown {
    bool atMin = false;
    bool atMax = false;
};

// What the slider and the edit show for one value, and where it sits in the range.
struct Presentation {
    slider::SliderSetting slider;
    std::wstring text;
    Shown bounds;
};

// The value a page takes for what it was given: clamped to the range; for a real, a NaN counts
// as 0 first, as unreadable text does.
int32_t ClampInt(const AdjustmentInfo& info, int32_t value);
double ClampReal(const AdjustmentInfo& info, double value);
// How the controls show a value, as it is (the camera may answer one outside the range).
Presentation PresentInt(const AdjustmentInfo& info, int32_t value);
Presentation PresentReal(const AdjustmentInfo& info, double value);
// Puts a presentation on the controls.
void Paint(const Presentation& presentation, const Display& display);

// Clamps the value to the range; with apply, writes it to the camera and takes the value the
// camera reads back; shows it on the slider and the edit.
Shown ShowInt(CAmbrelController& controller, const AdjustmentInfo& info, int32_t value, bool apply,
              const Display& display);
// As ShowInt; a NaN counts as 0, as unreadable text does, before it is clamped.
Shown ShowReal(CAmbrelController& controller, const AdjustmentInfo& info, double value, bool apply,
               const Display& display);

// Writes the value the slider's position stands for and shows what the camera took.
Shown TakeSliderPosition(CAmbrelController& controller, const AdjustmentInfo& info,
                         const Display& display);
// Writes the value the edit's text stands for and shows what the camera took; then the caret
// goes to the end of the text and into view.
Shown TakeEditText(CAmbrelController& controller, const AdjustmentInfo& info,
                   const Display& display);

}  // namespace adjustment
