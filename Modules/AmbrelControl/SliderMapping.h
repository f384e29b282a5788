// The value-to-slider mapping, the slider-to-value conversion and the bound-label format shared
// by the Adjustment and Exposure pages; every conversion is defined for any camera answer.
#pragma once

#include <cstdint>
#include <string>

#include "ControllerTypes.h"

namespace slider {

// A slider's range and thumb position.
struct SliderSetting {
    int32_t rangeMin = 0;
    int32_t rangeMax = 0;
    int32_t position = 0;
    friend bool operator==(const SliderSetting&, const SliderSetting&) = default;
};

// Toward zero, saturated to the 32-bit range; NaN gives 0.
int32_t TruncToInt32(double x);
// floor(x + 0.5), saturated to the 32-bit range; NaN gives 0.
int32_t RoundHalfUpToInt32(double x);
// To single precision; finite values beyond its range become infinities, as rounding would.
float ToSingle(double x);
// A real in thousandths, truncated toward zero and saturated; NaN gives 0.
int32_t Thousandths(double x);
// The logarithmic slider position of x: log10 of x in single precision times 10,000,000,
// truncated. Zero, negatives and NaN, which have no real logarithm, give the bottom of the
// scale (INT32_MIN).
int32_t LogPosition(double x);

// A negative integer maximum (read as unsigned, 0x7FFFFFFF or more) stands for "no limit".
int32_t EffectiveIntMax(int32_t intMax);
// The large step of an integer range: (max - min) / 100 truncated, at least 2.
double IntLargeStep(int32_t intMin, int32_t intMax);
// The slider scale of a real range of this width: 1000, 100 or 10, so that the range in
// scaled units stays within 32 bits.
int32_t SliderScaleForWidth(double width);
// Fills smallStep, largeStep and sliderScale of a page's copy; an integer copy also gets its
// effective maximum.
void ComputeStepsAndScale(AdjustmentInfo& info);

// A slider control works out its thumb from max - min in 32 bits, and a wider span overflows
// inside the control (a division trap on some platforms). A range wider than INT32_MAX keeps
// the part of it, INT32_MAX wide, at the end that holds the position.
SliderSetting FitSpan(SliderSetting s);

// The slider for an integer or a real value of this adjustment (its span fitted as above).
SliderSetting IntSlider(const AdjustmentInfo& info, int32_t v);
SliderSetting RealSlider(const AdjustmentInfo& info, double v);

// The value a logarithmic slider position (10,000,000 x log10) stands for.
int32_t SliderToValue(int32_t p);
// The value a slider position stands for, as ShowInt / ShowReal take it.
int32_t IntFromSlider(const AdjustmentInfo& info, int32_t p);
double RealFromSlider(const AdjustmentInfo& info, int32_t p);

// A bound label: "%E" for tiny or huge magnitudes, else "%0.3f".
std::wstring FormatBound(double x);
// The edit text of a real value.
std::wstring FormatReal(double x);

// Edit text as the number it starts with (the platform's leading-integer rule); 0 when it
// starts with no number.
int32_t ParseInt(const std::wstring& text);
// The longest leading real number of the first 260 characters, read after conversion to
// narrow text; 0 when there is none, and for a NaN.
double ParseReal(const std::wstring& text);

}  // namespace slider
