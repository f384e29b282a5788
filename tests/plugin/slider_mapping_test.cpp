// The slider mapping's pure conversions, fed ordinary camera ranges and hostile answers alike.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "SliderMapping.h"

namespace {

using namespace slider;

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

AdjustmentInfo Real(double lo, double hi) {
    AdjustmentInfo info;
    info.realMin = lo;
    info.realMax = hi;
    ComputeStepsAndScale(info);
    return info;
}

AdjustmentInfo Int(int32_t lo, int32_t hi) {
    AdjustmentInfo info;
    info.isInteger = 1;
    info.intMin = lo;
    info.intMax = hi;
    ComputeStepsAndScale(info);
    return info;
}

TEST(SliderConversions, SaturateAndGiveNaNAValue) {
    EXPECT_EQ(TruncToInt32(1.9), 1);
    EXPECT_EQ(TruncToInt32(-1.9), -1);
    EXPECT_EQ(TruncToInt32(2147483647.9), kMax);
    EXPECT_EQ(TruncToInt32(-2147483648.9), kMin);
    EXPECT_EQ(TruncToInt32(1e300), kMax);
    EXPECT_EQ(TruncToInt32(-kInf), kMin);
    EXPECT_EQ(TruncToInt32(kNaN), 0);

    EXPECT_EQ(RoundHalfUpToInt32(0.5), 1);
    EXPECT_EQ(RoundHalfUpToInt32(-0.5), 0);
    EXPECT_EQ(RoundHalfUpToInt32(kInf), kMax);
    EXPECT_EQ(RoundHalfUpToInt32(kNaN), 0);

    EXPECT_EQ(Thousandths(static_cast<float>(0.123)), 123);
    EXPECT_EQ(Thousandths(1e10), kMax);
    EXPECT_EQ(Thousandths(kNaN), 0);

    EXPECT_EQ(ToSingle(1e300), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ToSingle(-1e300), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(ToSingle(kNaN)));
}

TEST(SliderConversions, LogPositionHasABottomForValuesWithoutALogarithm) {
    EXPECT_EQ(LogPosition(1000), 30000000);
    EXPECT_EQ(LogPosition(1), 0);
    EXPECT_EQ(LogPosition(0), kMin);
    EXPECT_EQ(LogPosition(-5), kMin);
    EXPECT_EQ(LogPosition(kNaN), kMin);
    EXPECT_EQ(LogPosition(kInf), kMax);
    EXPECT_EQ(LogPosition(1e300), kMax);  // beyond single precision: infinite
}

TEST(StepsAndScale, IntegerRanges) {
    const AdjustmentInfo x = Int(0, 1023);
    EXPECT_EQ(x.largeStep, 10.0);
    EXPECT_EQ(x.smallStep, 1.0);
    EXPECT_EQ(x.sliderScale, 1);
    EXPECT_EQ(x.intMax, 1023);

    EXPECT_EQ(Int(0, 150).largeStep, 2.0);  // 1 is raised to the minimum
    EXPECT_EQ(Int(5, 3).largeStep, 2.0);    // inverted bounds

    // A negative maximum means no limit; the width then spans the whole 32 bits.
    const AdjustmentInfo open = Int(0, -1);
    EXPECT_EQ(open.intMax, kMax);
    EXPECT_EQ(open.largeStep, 21474836.0);
    EXPECT_EQ(Int(kMin, -7).intMax, kMax);
    EXPECT_EQ(Int(kMin, -7).largeStep, 42949672.0);
    EXPECT_EQ(EffectiveIntMax(0x7FFFFFFE), 0x7FFFFFFE);
}

TEST(StepsAndScale, RealRanges) {
    const AdjustmentInfo r = Real(0.0, 0.8);
    EXPECT_EQ(r.sliderScale, 1000);
    EXPECT_DOUBLE_EQ(r.smallStep, 0.002);
    EXPECT_DOUBLE_EQ(r.largeStep, 0.02);

    EXPECT_EQ(SliderScaleForWidth(2147483.0), 1000);
    EXPECT_EQ(SliderScaleForWidth(2147483.9), 1000);  // truncated first
    EXPECT_EQ(SliderScaleForWidth(2147484.0), 100);
    EXPECT_EQ(SliderScaleForWidth(21474836.0), 100);
    EXPECT_EQ(SliderScaleForWidth(21474837.0), 10);
    EXPECT_EQ(SliderScaleForWidth(1e300), 10);
    EXPECT_EQ(SliderScaleForWidth(kInf), 10);
    EXPECT_EQ(SliderScaleForWidth(kNaN), 1000);
    EXPECT_EQ(SliderScaleForWidth(-5.0), 1000);
    EXPECT_EQ(Real(-kInf, kInf).sliderScale, 10);
}

TEST(SliderMappingTest, RealValuesMapOnTheScaledRange) {
    const AdjustmentInfo exposure = Real(static_cast<float>(0.01), static_cast<float>(0.9));
    EXPECT_EQ(RealSlider(exposure, 0.25), (SliderSetting{10, 900, 250}));
    EXPECT_DOUBLE_EQ(RealFromSlider(exposure, 123), 0.123);

    const AdjustmentInfo wide = Real(0.0, 5e6);
    EXPECT_EQ(wide.sliderScale, 100);
    EXPECT_EQ(RealSlider(wide, 5e6), (SliderSetting{0, 500000000, 500000000}));
    EXPECT_DOUBLE_EQ(RealFromSlider(wide, 250), 2.5);
}

TEST(SliderMappingTest, HostileRealAnswersGiveDefinedPositions) {
    const AdjustmentInfo nan = Real(kNaN, kNaN);
    EXPECT_EQ(RealSlider(nan, kNaN), (SliderSetting{0, 0, 0}));
    const AdjustmentInfo infinite = Real(-kInf, kInf);
    // Ranges wider than a slider can take keep the end that holds the position.
    EXPECT_EQ(RealSlider(infinite, 1e300), (SliderSetting{0, kMax, kMax}));
    const AdjustmentInfo huge = Real(-3e38, 3e38);
    EXPECT_EQ(RealSlider(huge, -3e38), (SliderSetting{kMin, -1, kMin}));

    AdjustmentInfo log = Real(kNaN, 1e300);
    log.logScale = 1;
    EXPECT_EQ(RealSlider(log, -1.0), (SliderSetting{kMin, -1, kMin}));

    AdjustmentInfo unscaled = Real(0.0, 1.0);
    unscaled.sliderScale = 0;
    EXPECT_EQ(RealFromSlider(unscaled, 7), 7.0);
}

TEST(SliderMappingTest, IntegerValuesMapOneToOneOrOnTheLogarithm) {
    const AdjustmentInfo x = Int(0, 1023);
    EXPECT_EQ(IntSlider(x, 700), (SliderSetting{0, 1023, 700}));
    EXPECT_EQ(IntFromSlider(x, 700), 700);

    AdjustmentInfo log = Int(0, 100000);
    log.logScale = 1;
    EXPECT_EQ(IntSlider(log, 1000), (SliderSetting{50000000 - kMax, 50000000, 30000000}));
    EXPECT_EQ(IntFromSlider(log, 30000000), 1000);
}

TEST(SliderMappingTest, SpansFitTheSliderAtTheEndHoldingThePosition) {
    EXPECT_EQ(FitSpan({0, kMax, 5}), (SliderSetting{0, kMax, 5}));
    EXPECT_EQ(FitSpan({-1, kMax - 1, 5}), (SliderSetting{-1, kMax - 1, 5}));
    EXPECT_EQ(FitSpan({kMin, kMax, -1}), (SliderSetting{kMin, -1, -1}));
    EXPECT_EQ(FitSpan({kMin, kMax, 0}), (SliderSetting{0, kMax, 0}));
    // A position beyond the range (the camera answered outside its own limits) counts from the
    // nearer end.
    EXPECT_EQ(FitSpan({-10, kMax, kMin}), (SliderSetting{-10, kMax - 10, kMin}));
    EXPECT_EQ(FitSpan({kMin, 10, kMax}), (SliderSetting{10 - kMax, 10, kMax}));
}

TEST(SliderToValueTest, ReadsTheNudgedExponent) {
    EXPECT_EQ(SliderToValue(0), 0);
    EXPECT_EQ(SliderToValue(30000000), 1000);
    EXPECT_EQ(SliderToValue(20000000), 100);
    EXPECT_EQ(SliderToValue(10000000), 10);
    EXPECT_EQ(SliderToValue(5000000), 3);  // 10^0.5000001
    EXPECT_EQ(SliderToValue(1), 1);
}

TEST(SliderToValueTest, ALastFractionDigitCarriesIntoTheWholePart) {
    // Printed as is, the fraction 9999999 + 1 would read 0.10000000 and give 1 instead of 10.
    EXPECT_EQ(SliderToValue(9999999), 10);
    EXPECT_EQ(SliderToValue(29999999), 1000);
}

TEST(SliderToValueTest, NegativeAndHugePositionsStayDefined) {
    // Below one decade the value is less than 1.
    EXPECT_EQ(SliderToValue(-1), 0);
    EXPECT_EQ(SliderToValue(-30000000), 0);
    EXPECT_EQ(SliderToValue(kMin), 0);
    EXPECT_EQ(SliderToValue(kMax), kMax);       // 10^214.7: infinite in single precision
    EXPECT_EQ(SliderToValue(100000000), kMax);  // 10^10
}

TEST(FormatBoundTest, FixedExceptTinyOrHuge) {
    EXPECT_EQ(FormatBound(0.00000005), L"5.000000E-08");
    EXPECT_EQ(FormatBound(0.0), L"0.000");
    EXPECT_EQ(FormatBound(2e8), L"2.000000E+08");
    EXPECT_EQ(FormatBound(1e8), L"100000000.000");
    EXPECT_EQ(FormatBound(1e-7), L"0.000");
    EXPECT_EQ(FormatBound(-2e8), L"-2.000000E+08");
    EXPECT_EQ(FormatBound(static_cast<float>(0.01)), L"0.010");
    EXPECT_EQ(FormatBound(1023.0), L"1023.000");
    EXPECT_FALSE(FormatBound(kNaN).empty());
    EXPECT_FALSE(FormatBound(kInf).empty());
    EXPECT_EQ(FormatReal(0.25), L"0.250");
}

TEST(EditTextTest, IntegerTextWithoutANumberIsZero) {
    EXPECT_EQ(ParseInt(L"  -12abc"), -12);
    EXPECT_EQ(ParseInt(L"abc"), 0);
}

TEST(EditTextTest, RealsAsTheLongestLeadingNumber) {
    EXPECT_EQ(ParseReal(L"0.25"), 0.25);
    EXPECT_EQ(ParseReal(L" -1.5e2x"), -150.0);
    EXPECT_EQ(ParseReal(L"+.5"), 0.5);
    EXPECT_EQ(ParseReal(L"1e"), 1.0);
    EXPECT_EQ(ParseReal(L"1,5"), 1.0);
    EXPECT_EQ(ParseReal(L"abc"), 0.0);
    EXPECT_EQ(ParseReal(L"."), 0.0);
    EXPECT_EQ(ParseReal(L"--1"), 0.0);
    EXPECT_EQ(ParseReal(L""), 0.0);
}

TEST(EditTextTest, HostileRealTextStaysDefined) {
    EXPECT_EQ(ParseReal(L"nan"), 0.0);
    EXPECT_EQ(ParseReal(L"-nan(123)"), 0.0);
    EXPECT_EQ(ParseReal(L"inf"), kInf);
    EXPECT_EQ(ParseReal(L"-infinity"), -kInf);
    EXPECT_EQ(ParseReal(L"1e999"), kInf);
    EXPECT_EQ(ParseReal(L"-1e999"), -kInf);
    EXPECT_EQ(ParseReal(L"1e-999"), 0.0);
    EXPECT_EQ(ParseReal(L"1e99999999999999999999"), kInf);
    EXPECT_EQ(ParseReal(L"0.001e-400"), 0.0);
    EXPECT_EQ(ParseReal(L"-123.4e400"), -kInf);
    // Only the first 260 characters count.
    EXPECT_EQ(ParseReal(L"1" + std::wstring(300, L'0')), 1e259);
}

}  // namespace
