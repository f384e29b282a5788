// The value-to-slider mapping, the slider-to-value conversion and the bound-label format shared
// by the Adjustment and Exposure pages; every conversion is defined for any camera answer.
#include "SliderMapping.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/Text.h"
#include "platform/TextRules.h"

namespace slider {
namespace {

constexpr const wchar_t* kExponentFormat = L"%E";
constexpr const wchar_t* kFixedFormat = L"%0.3f";
constexpr const char* kLogTextFormat = "%d.%07d";

constexpr double kLogUnits = 10000000.0;  // slider positions per decade
constexpr int32_t kLogUnitsInt = 10000000;
constexpr std::size_t kMaxRealChars = 260;

constexpr int32_t kScaleFine = 1000;
constexpr int32_t kScaleMedium = 100;
constexpr int32_t kScaleCoarse = 10;
constexpr int32_t kFineWidthLimit = 2147483;     // INT32_MAX / 1000
constexpr int32_t kMediumWidthLimit = 21474836;  // INT32_MAX / 100

// A digit string too long for the real type: whether its magnitude is above 1 decides between
// an overflow (infinity) and an underflow (zero).
double OutOfRangeReal(const char* first, const char* last, bool negative) {
    long long integerDigits = 0;
    long long leadingFractionZeros = 0;
    bool seenNonZero = false;
    bool inFraction = false;
    const char* p = first;
    for (; p != last && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.') {
            inFraction = true;
        } else if (*p != '0' || seenNonZero) {
            seenNonZero = true;
            if (!inFraction) ++integerDigits;
        } else if (inFraction) {
            ++leadingFractionZeros;
        }
    }
    long long exponent = 0;
    if (p != last) {
        ++p;
        bool negativeExponent = false;
        if (p != last && (*p == '+' || *p == '-')) negativeExponent = *p++ == '-';
        for (; p != last && exponent < 1000000; ++p) exponent = exponent * 10 + (*p - '0');
        if (negativeExponent) exponent = -exponent;
    }
    const long long magnitude =
        (integerDigits > 0 ? integerDigits - 1 : -leadingFractionZeros - 1) + exponent;
    const double value = magnitude >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

}  // namespace

int32_t TruncToInt32(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (x <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(x);
}

int32_t RoundHalfUpToInt32(double x) {
    return TruncToInt32(std::floor(x + 0.5));
}

float ToSingle(double x) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (x > kMax) return std::numeric_limits<float>::infinity();
    if (x < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(x);  // NaN and infinities convert as they are
}

int32_t Thousandths(double x) {
    return TruncToInt32(x * 1000.0);
}

int32_t LogPosition(double x) {
    const float single = ToSingle(x);
    if (!(single > 0.0f)) return std::numeric_limits<int32_t>::min();
    const float logarithm = std::log10(single);
    return TruncToInt32(static_cast<double>(logarithm) * kLogUnits);
}

int32_t EffectiveIntMax(int32_t intMax) {
    return static_cast<uint32_t>(intMax) >= 0x7FFFFFFFu ? std::numeric_limits<int32_t>::max()
                                                        : intMax;
}

double IntLargeStep(int32_t intMin, int32_t intMax) {
    const int64_t width = static_cast<int64_t>(intMax) - intMin;
    const double step = static_cast<double>(width / 100);
    return step < 2.0 ? 2.0 : step;
}

int32_t SliderScaleForWidth(double width) {
    const int32_t t = TruncToInt32(width);
    if (t <= kFineWidthLimit) return kScaleFine;
    if (t <= kMediumWidthLimit) return kScaleMedium;
    return kScaleCoarse;
}

void ComputeStepsAndScale(AdjustmentInfo& info) {
    if (info.isInteger != 0) {
        info.intMax = EffectiveIntMax(info.intMax);
        info.largeStep = IntLargeStep(info.intMin, info.intMax);
        info.smallStep = 1.0;
        info.sliderScale = 1;
        return;
    }
    const double width = info.realMax - info.realMin;
    info.largeStep = width * 0.025;
    info.smallStep = width * 0.0025;
    info.sliderScale = SliderScaleForWidth(width);
}

SliderSetting FitSpan(SliderSetting s) {
    constexpr int64_t kMaxSpan = std::numeric_limits<int32_t>::max();
    if (int64_t{s.rangeMax} - s.rangeMin <= kMaxSpan) return s;
    if (int64_t{s.position} - s.rangeMin <= kMaxSpan) {
        s.rangeMax = static_cast<int32_t>(s.rangeMin + kMaxSpan);
    } else {
        s.rangeMin = static_cast<int32_t>(s.rangeMax - kMaxSpan);
    }
    return s;
}

SliderSetting IntSlider(const AdjustmentInfo& info, int32_t v) {
    if (info.logScale != 0)
        return FitSpan({LogPosition(info.intMin), LogPosition(info.intMax), LogPosition(v)});
    return FitSpan({info.intMin, info.intMax, v});
}

SliderSetting RealSlider(const AdjustmentInfo& info, double v) {
    if (info.logScale != 0)
        return FitSpan({LogPosition(Thousandths(info.realMin)),
                        LogPosition(Thousandths(info.realMax)), LogPosition(Thousandths(v))});
    const double s = info.sliderScale;
    return FitSpan({RoundHalfUpToInt32(info.realMin * s), RoundHalfUpToInt32(info.realMax * s),
                    RoundHalfUpToInt32(s * v)});
}

int32_t SliderToValue(int32_t p) {
    if (p == 0) return 0;
    if (p < 0) {
        // The text form below has no way to write a negative fraction; below one decade the
        // value is under 1 and truncates to 0 anyway.
        return TruncToInt32(ToSingle(std::pow(10.0, p / kLogUnits)));
    }
    // The text nudges the exponent up by 1e-7 so that exact decades do not truncate to one
    // less; a fraction of 9999999 carries into the whole part instead of printing eight digits.
    int32_t whole = p / kLogUnitsInt;
    int32_t fraction = p % kLogUnitsInt + 1;
    if (fraction == kLogUnitsInt) {
        ++whole;
        fraction = 0;
    }
    char text[111];
    const int length = std::snprintf(text, sizeof text, kLogTextFormat, whole, fraction);
    double exponent = 0.0;
    std::from_chars(text, text + length, exponent);
    const float e = ToSingle(exponent);
    return TruncToInt32(ToSingle(std::pow(10.0, static_cast<double>(e))));
}

int32_t IntFromSlider(const AdjustmentInfo& info, int32_t p) {
    return info.logScale != 0 ? SliderToValue(p) : p;
}

double RealFromSlider(const AdjustmentInfo& info, int32_t p) {
    if (info.logScale != 0) return ToSingle(SliderToValue(p) / 1000.0);
    const int32_t scale = info.sliderScale > 0 ? info.sliderScale : 1;
    return static_cast<double>(p) / scale;
}

std::wstring FormatBound(double x) {
    const double magnitude = std::fabs(x);
    const bool exponent = x != 0.0 && (magnitude < 1e-7 || magnitude > 1e8);
    return plat::Format(exponent ? kExponentFormat : kFixedFormat, x);
}

std::wstring FormatReal(double x) {
    return plat::Format(kFixedFormat, x);
}

int32_t ParseInt(const std::wstring& text) {
    return plat::ParseLeadingInt32(text).value_or(0);
}

double ParseReal(const std::wstring& text) {
    const std::string narrow = plat::WideToNarrow(std::wstring_view(text).substr(0, kMaxRealChars));
    const char* p = narrow.c_str();
    const char* const end = p + narrow.size();
    while (p != end && std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    // from_chars reads the same numbers as the C library, but with '.' whatever the locale.
    if (p == end || *p == '+' || *p == '-') return 0.0;
    double value = 0.0;
    const auto [last, error] = std::from_chars(p, end, value);
    if (error == std::errc::invalid_argument) return 0.0;
    if (error == std::errc::result_out_of_range) return OutOfRangeReal(p, last, negative);
    if (std::isnan(value)) return 0.0;
    return negative ? -value : value;
}

}  // namespace slider
