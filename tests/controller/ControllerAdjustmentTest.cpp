// Numeric adjustments and one-shot commands.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "ControllerTestSupport.h"

using namespace ctltest;

namespace {

class ControllerAdjustments : public ControllerTest {};

TEST_F(ControllerAdjustments, FullCameraListsEveryAdjustmentWithItsRange) {
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    ASSERT_EQ(AdjustmentIds(ctl), (std::vector<int32_t>{9, 10, 11, 12, 13}));

    const AdjustmentInfo& exposure = ctl.m_adjustments[0];
    EXPECT_EQ(exposure.name, L"ExposureTime");
    EXPECT_EQ(exposure.isInteger, 0);
    EXPECT_EQ(exposure.intMin, 0);
    EXPECT_EQ(exposure.intMax, 0);
    EXPECT_EQ(exposure.realMin, 0.5);
    EXPECT_EQ(exposure.realMax, 1000.0);
    EXPECT_EQ(ctl.m_adjustments[1].name, L"FrameTime");
    EXPECT_EQ(ctl.m_adjustments[1].realMin, 20.0);
    EXPECT_EQ(ctl.m_adjustments[1].realMax, 2000.0);

    const AdjustmentInfo& value = ctl.m_adjustments[4];
    EXPECT_EQ(ctl.m_adjustments[2].name, L"Crosshairs X");
    EXPECT_EQ(ctl.m_adjustments[3].name, L"Crosshairs Y");
    EXPECT_EQ(value.name, L"Crosshairs Value");
    EXPECT_EQ(value.isInteger, 1);
    EXPECT_EQ(value.intMin, 0);
    EXPECT_EQ(value.intMax, 4095);
    EXPECT_EQ(value.realMin, 0.0);
    EXPECT_EQ(value.realMax, 0.0);

    for (const AdjustmentInfo& a : ctl.m_adjustments) {
        SCOPED_TRACE(a.id);
        EXPECT_EQ(a.available, 1);
        EXPECT_EQ(a.autoCapable, 0);
        EXPECT_EQ(a.oneShotCapable, 0);
        EXPECT_EQ(a.logScale, 0);
        EXPECT_EQ(a.smallStep, 0.0);
        EXPECT_EQ(a.largeStep, 0.0);
        EXPECT_EQ(a.sliderScale, 0);
        EXPECT_NE(a.adjustment, nullptr);
    }
}

TEST_F(ControllerAdjustments, CrosshairsSwitchDecidesTheIntegerAdjustments) {
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    ASSERT_TRUE(ctl.SetSetting(kIdCrosshairs, 0));
    EXPECT_EQ(AdjustmentIds(ctl), (std::vector<int32_t>{9, 10}));
    ASSERT_TRUE(ctl.SetSetting(kIdCrosshairs, 1));
    EXPECT_EQ(AdjustmentIds(ctl), (std::vector<int32_t>{9, 10, 11, 12, 13}));
}

TEST_F(ControllerAdjustments, CrosshairsReadOtherThanOneHidesThem) {
    Load(Model({FaultyInt("Crosshairs.Enable", "2"), IntRange("Crosshairs.X", 0, 0, 9)}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    EXPECT_TRUE(ctl.m_adjustments.empty());
}

TEST_F(ControllerAdjustments, RangesAreTakenAsTheCameraAnswers) {
    Load(Model({Real("ExposureTime", "1"), FaultyReal("ExposureTime.Min", R"("nan")"),
                FaultyReal("ExposureTime.Max", R"("inf")"), Int("FrameTime", 1),
                Int("FrameTime.Min", 50), Int("FrameTime.Max", 10), Int("Crosshairs.Enable", 1),
                Int("Crosshairs.X", 0), FaultyInt("Crosshairs.X.Min", "-1"),
                Int("Crosshairs.X.Max", 100), Int("Crosshairs.Y", 0), Int("Crosshairs.Y.Min", 7),
                Int("Crosshairs.Y.Max", 3)}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    const AdjustmentInfo* exposure = FindAdjustment(ctl, kIdExposureTime);
    ASSERT_NE(exposure, nullptr);
    EXPECT_TRUE(std::isnan(exposure->realMin));
    EXPECT_EQ(exposure->realMax, std::numeric_limits<double>::infinity());
    const AdjustmentInfo* frame = FindAdjustment(ctl, kIdFrameTime);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->realMin, 50.0);
    EXPECT_EQ(frame->realMax, 10.0);
    EXPECT_EQ(FindAdjustment(ctl, kIdCrosshairsX)->intMin, -1);
    EXPECT_EQ(FindAdjustment(ctl, kIdCrosshairsY)->intMin, 7);
    EXPECT_EQ(FindAdjustment(ctl, kIdCrosshairsY)->intMax, 3);
}

// Single precision is the camera's; beyond its range a write is an infinity of the same sign,
// also just past the largest single, which plain rounding would bring back to it.
TEST_F(ControllerAdjustments, RealWriteSendsTheNearestSingle) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const double pastLargest =
        std::nextafter(static_cast<double>(std::numeric_limits<float>::max()), kInf);
    const struct {
        double value;
        double sent;
    } cases[] = {
        {12.3456789012345, static_cast<double>(12.3456789012345f)},
        {1e300, kInf},
        {-1e300, -kInf},
        {pastLargest, kInf},
    };
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    std::vector<double> sent;
    pfsim::SetWriteObserver(
        [&](int32_t, const std::string&, double value, double, int32_t) { sent.push_back(value); });
    for (const auto& c : cases) {
        sent.clear();
        EXPECT_TRUE(ctl.SetAdjustmentReal(kIdExposureTime, c.value));
        ASSERT_EQ(sent.size(), 1u) << c.value;
        EXPECT_EQ(sent[0], c.sent) << c.value;
    }
    double back = 0.0;
    ASSERT_TRUE(ctl.SetAdjustmentReal(kIdExposureTime, 12.3456789012345));
    EXPECT_TRUE(ctl.GetAdjustmentReal(kIdExposureTime, back));
    EXPECT_EQ(back, static_cast<double>(12.3456789012345f));
}

TEST_F(ControllerAdjustments, IntegerAccessToRealAdjustmentTouchesNothing) {
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    pfsim::ClearCallLog();
    int32_t value = 42;
    EXPECT_TRUE(ctl.SetAdjustmentInt(kIdExposureTime, 5));
    EXPECT_TRUE(ctl.GetAdjustmentInt(kIdExposureTime, value));
    EXPECT_EQ(value, 0);
    double real = 42.0;
    EXPECT_TRUE(ctl.SetAdjustmentReal(kIdCrosshairsX, 5.0));
    EXPECT_TRUE(ctl.GetAdjustmentReal(kIdCrosshairsX, real));
    EXPECT_EQ(real, 0.0);
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

TEST_F(ControllerAdjustments, IntegerValueIsSentAndReadAsIs) {
    Load(Model({Int("Crosshairs.Enable", 1), IntRange("Crosshairs.X", 0, -100, 100),
                FaultyInt("Crosshairs.Value", "-5"), Int("Crosshairs.Value.Min", 0),
                Int("Crosshairs.Value.Max", 9)}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    pfsim::ClearCallLog();
    EXPECT_TRUE(ctl.SetAdjustmentInt(kIdCrosshairsX, 500));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"pfSetCameraPropertyI(0,Crosshairs.X,500)"}));
    int32_t value = 0;
    EXPECT_TRUE(ctl.GetAdjustmentInt(kIdCrosshairsValue, value));
    EXPECT_EQ(value, -5);
}

TEST_F(ControllerAdjustments, AutomaticAndOneShotDoNothing) {
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    pfsim::ClearCallLog();
    for (const AdjustmentInfo& a : ctl.m_adjustments) {
        SCOPED_TRACE(a.id);
        int32_t flag = 7;
        EXPECT_TRUE(ctl.SetAdjustmentAuto(a.id, 1));
        EXPECT_TRUE(ctl.GetAdjustmentAuto(a.id, flag));
        EXPECT_EQ(flag, 0);
        a.adjustment->OneShot();
    }
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

TEST_F(ControllerAdjustments, UnlistedIdReadsZeroAndFails) {
    Load(FullModel());
    CAmbrelController ctl;
    ctl.Refresh();
    double real = 1.0;
    int32_t value = 1;
    int32_t flag = 1;
    EXPECT_FALSE(ctl.GetAdjustmentReal(kIdExposureTime, real));
    EXPECT_EQ(real, 0.0);
    EXPECT_FALSE(ctl.GetAdjustmentInt(kIdCrosshairsX, value));
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(ctl.GetAdjustmentAuto(kIdFrameTime, flag));
    EXPECT_EQ(flag, 0);
    EXPECT_FALSE(ctl.SetAdjustmentReal(kIdExposureTime, 1.0));
    EXPECT_FALSE(ctl.SetAdjustmentInt(kIdCrosshairsX, 1));
    EXPECT_FALSE(ctl.SetAdjustmentAuto(kIdCrosshairsX, 1));
}

class ControllerCommands : public ControllerTest {};

TEST_F(ControllerCommands, OpenPortListsAllFourWhateverTheCameraOffers) {
    Load(Model({}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    ASSERT_EQ(ctl.m_cameraCommands.size(), 4u);
    const std::vector<std::pair<int32_t, std::wstring>> expected = {
        {15, L"StoreDefaults"}, {14, L"FactoryReset"}, {17, L"ResetToDefault"}, {16, L"Max ROI"}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(ctl.m_cameraCommands[i].id, expected[i].first);
        EXPECT_EQ(ctl.m_cameraCommands[i].name, expected[i].second);
    }
}

TEST_F(ControllerCommands, EachWritesOnePropertyOnceAndNothingElse) {
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    const std::pair<int32_t, const char*> rows[] = {
        {15, "StoreDefaults"}, {14, "FactoryReset"}, {17, "Reset"}, {16, "Window.Max"}};
    for (const auto& [id, property] : rows) {
        SCOPED_TRACE(property);
        CCommand* command = nullptr;
        for (const CameraCommandInfo& c : ctl.m_cameraCommands) {
            if (c.id == id) command = c.command;
        }
        ASSERT_NE(command, nullptr);
        pfsim::ClearCallLog();
        command->Execute();
        EXPECT_EQ(Calls(), (std::vector<std::string>{"pfSetCameraPropertyI(0," +
                                                     std::string(property) + ",1)"}));
    }
}

TEST_F(ControllerCommands, ClosedPortListsNoneAndWritesNothing) {
    Load(FullModel());
    CAmbrelController ctl;
    ctl.Refresh();
    EXPECT_TRUE(ctl.m_cameraCommands.empty());
    pfsim::ClearCallLog();
    static_cast<CMaxROICmd&>(ctl).Execute();
    static_cast<CResetCmd&>(ctl).Execute();
    EXPECT_EQ(ctl.GetMaxWidth(), 0);
    EXPECT_EQ(ctl.GetMaxHeight(), 0);
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

TEST_F(ControllerCommands, MaximumWindowIsReadWithTheStoringCall) {
    Load(Model({Int("Window.W.Max", 1024), Int("Window.H.Max", 768)}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    pfsim::ClearCallLog();
    EXPECT_EQ(ctl.GetMaxWidth(), 1024);
    EXPECT_EQ(ctl.GetMaxHeight(), 768);
    EXPECT_EQ(pfsim::CallCount("pfGetCameraPropertyInt"), 2u);
}

TEST_F(ControllerCommands, MaximumWindowTheCameraLacksReadsZero) {
    Load(Model({}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    EXPECT_EQ(ctl.GetMaxWidth(), 0);
}

}  // namespace
