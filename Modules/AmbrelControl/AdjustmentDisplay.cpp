// Showing a numeric adjustment on a slider and an edit, shared by the Adjustment and Exposure
// pages.
#include "AdjustmentDisplay.h"

#include <cmath>

#include "AmbrelController.h"
#include "SliderMapping.h"

namespace adjustment {
namespace {

void ShowOnControls(const slider::SliderSetting& position, const std::wstring& text,
                    const Display& display) {
    display.updating = 1;
    display.slider.SetRange(position.rangeMin, position.rangeMax, true);
    display.slider.SetPos(position.position);
    if (!display.keepEditText) display.edit.SetWindowText(text);
    display.updating = 0;
}

}  // namespace

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
    if (value < info.intMin) value = info.intMin;
    if (value > info.intMax) value = info.intMax;
    if (apply) {
        controller.SetAdjustmentInt(info.id, value);
        controller.GetAdjustmentInt(info.id, value);
    }
    ShowOnControls(slider::IntSlider(info, value), std::to_wstring(value), display);
    return {value == info.intMin, value == info.intMax};
}

Shown ShowReal(CAmbrelController& controller, const AdjustmentInfo& info, double value, bool apply,
               const Display& display) {
    if (std::isnan(value)) value = 0.0;
    if (value < info.realMin) value = info.realMin;
    if (value > info.realMax) value = info.realMax;
    if (apply) {
        // The camera takes single precision; beyond its range the value is an infinity.
        controller.SetAdjustmentReal(info.id, slider::ToSingle(value));
        controller.GetAdjustmentReal(info.id, value);
    }
    ShowOnControls(slider::RealSlider(info, value), slider::FormatReal(value), display);
    return {value == info.realMin, value == info.realMax};
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
