// Showing a numeric adjustment on a slider and an edit, shared by the Adjustment and Exposure
// pages.
#include "AdjustmentDisplay.h"

#include <cmath>

#include "AmbrelController.h"
#include "SliderMapping.h"

namespace adjustment {

int32_t ClampInt(const AdjustmentInfo& info, int32_t value) {
    if (value < info.intMin) value = info.intMin;
    if (value > info.intMax) value = info.intMax;
    return value;
}

double ClampReal(const AdjustmentInfo& info, double value) {
    if (std::isnan(value)) value = 0.0;
    if (value < info.realMin) value = info.realMin;
    if (value > info.realMax) value = info.realMax;
    return value;
}

Presentation PresentInt(const AdjustmentInfo& info, int32_t value) {
    return {slider::IntSlider(info, value),
            std::to_wstring(value),
            {value == info.intMin, value == info.intMax}};
}

Presentation PresentReal(const AdjustmentInfo& info, double value) {
    return {slider::RealSlider(info, value),
            slider::FormatReal(value),
            {value == info.realMin, value == info.realMax}};
}

void Paint(const Presentation& presentation, const Display& display) {
    display.updating = 1;
    display.slider.SetRange(presentation.slider.rangeMin, presentation.slider.rangeMax, true);
    display.slider.SetPos(presentation.slider.position);
    if (!display.keepEditText) display.edit.SetWindowText(presentation.text);
    display.updating = 0;
}

std::unique_ptr<AdjustmentInfo> CopyForPage(const AdjustmentInfo& entry) {
    auto copy = std::make_unique<AdjustmentInfo>(entry);
    copy->adjustment = nullptr;
    slider::ComputeStepsAndScale(*copy);
    return copy;
}

std::wstring MinLabel(const AdjustmentInfo& info) {
    return info.isInteger != 0 ? std::to_wstring(info.intMin) : slider::FormatBound(info.realMin);
}

std::wstring MaxLabel(const AdjustmentInfo& info) {
    return info.isInteger != 0 ? std::to_wstring(info.intMax) : slider::FormatBound(info.realMax);
}

Shown ShowInt(CAmbrelController& controller, const AdjustmentInfo& info, int32_t value, bool apply,
              const Display& display) {
    value = ClampInt(info, value);
    if (apply) {
        controller.SetAdjustmentInt(info.id, value);
        controller.GetAdjustmentInt(info.id, value);
    }
    const Presentation presentation = PresentInt(info, value);
    Paint(presentation, display);
    return presentation.bounds;
}

Shown ShowReal(CAmbrelController& controller, const AdjustmentInfo& info, double value, bool apply,
               const Display& display) {
    value = ClampReal(info, value);
    if (apply) {
        controller.SetAdjustmentReal(info.id, value);
        controller.GetAdjustmentReal(info.id, value);
    }
    const Presentation presentation = PresentReal(info, value);
    Paint(presentation, display);
    return presentation.bounds;
}

Shown TakeSliderPosition(CAmbrelController& controller, const AdjustmentInfo& info,
                         const Display& display) {
    const int32_t position = display.slider.GetPos();
    if (info.isInteger != 0)
        return ShowInt(controller, info, slider::IntFromSlider(info, position), true, display);
    return ShowReal(controller, info, slider::RealFromSlider(info, position), true, display);
}

Shown TakeEditText(CAmbrelController& controller, const AdjustmentInfo& info,
                   const Display& display) {
    const std::wstring text = display.edit.GetWindowText();
    const Shown shown = info.isInteger != 0
                            ? ShowInt(controller, info, slider::ParseInt(text), true, display)
                            : ShowReal(controller, info, slider::ParseReal(text), true, display);
    const int end = display.edit.GetWindowTextLength();
    display.edit.SetSel(end, end);
    display.edit.SendMessage(ui::EM_SCROLLCARET);
    return shown;
}

}  // namespace adjustment
