// Enumerated settings and the property scan they are built from.
#include <platform/DebugOutput.h>

#include <cstdint>
#include <limits>
#include <string>

#include "ControllerTestSupport.h"

using namespace ctltest;

namespace {

class ControllerProperty : public ControllerTest {};

TEST_F(ControllerProperty, ScanWritesEachNameUntilTheMatchAndSkipsEmptySlots) {
    Load(Model({Bare("Alpha"), "null", Bare("Beta"), Bare("Gamma")}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    plat::DebugCapture capture;
    EXPECT_TRUE(ctl.HasProperty("Beta"));
    EXPECT_EQ(capture.Lines(), (std::vector<std::wstring>{L"Alpha", L"Beta"}));
}

TEST_F(ControllerProperty, NamesMatchExactlyAndCaseSensitively) {
    Load(Model({Bare("Window.Mode.Window_512x512"), Bare("Gain")}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    plat::DebugCapture capture;
    EXPECT_FALSE(ctl.HasProperty("gain"));
    EXPECT_FALSE(ctl.HasProperty("Window.Mode"));
    EXPECT_FALSE(ctl.HasProperty("Gain "));
    EXPECT_TRUE(ctl.HasProperty("Gain"));
    EXPECT_EQ(capture.Count(L"Gain"), 4u);
}

TEST_F(ControllerProperty, NothingIsAskedWhileNoPortIsOpen) {
    Load(Model({Bare("Alpha")}));
    CAmbrelController ctl;
    EXPECT_FALSE(ctl.HasProperty("Alpha"));
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

class ControllerSettings : public ControllerTest {};

TEST_F(ControllerSettings, FullCameraListsEveryEntryWithItsOptions) {
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    ASSERT_EQ(SettingIds(ctl), (std::vector<int32_t>{8, 0, 1, 2, 3, 4, 5, 6, 7}));
    const std::vector<std::wstring> names = {
        L"Decimation Y",       L"Port",       L"Window",      L"Correction",
        L"Constant FrameRate", L"Crosshairs", L"DigitalGain", L"Simultaneous Readout",
        L"Trigger Mode"};
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(ctl.m_settings[i].name, names[i]);

    EXPECT_EQ(OptionsOf(FindSetting(ctl, 8)),
              (Options{{1, L"1"}, {2, L"2"}, {3, L"3"}, {4, L"4"}}));
    EXPECT_EQ(OptionsOf(FindSetting(ctl, 1)),
              (Options{{0, L"1024x1024"}, {1, L"1024x512"}, {2, L"1024x256"}, {3, L"512x512"}}));
    EXPECT_EQ(OptionsOf(FindSetting(ctl, 2)), (Options{{0, L"Off"},
                                                       {1, L"Offset"},
                                                       {2, L"OffsetHotpixel"},
                                                       {3, L"OffsetGainHotpixel"},
                                                       {4, L"BlackRefOut"},
                                                       {5, L"GreyRefOut"}}));
    EXPECT_EQ(OptionsOf(FindSetting(ctl, 3)), (Options{{1, L"Yes"}, {0, L"No"}}));
    EXPECT_EQ(OptionsOf(FindSetting(ctl, 4)), (Options{{1, L"Enable"}, {0, L"Disable"}}));
    EXPECT_EQ(OptionsOf(FindSetting(ctl, 5)),
              (Options{{0, L"1x"}, {1, L"2x"}, {2, L"4x"}, {3, L"8x"}}));
    EXPECT_EQ(OptionsOf(FindSetting(ctl, 6)), (Options{{1, L"Yes"}, {0, L"No"}}));
    EXPECT_EQ(OptionsOf(FindSetting(ctl, 7)),
              (Options{{0, L"Free running"}, {1, L"Interface Trigger"}, {2, L"IO Trigger"}}));
}

TEST_F(ControllerSettings, EachEntryReadsAndWritesItsOwnProperty) {
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    const std::pair<int32_t, const char*> rows[] = {
        {8, "Decimation.Y"},       {1, "Window.Mode"},       {2, "Correction.Mode"},
        {3, "Trigger.CFR"},        {4, "Crosshairs.Enable"}, {5, "DigitalGain"},
        {6, "Trigger.Interleave"}, {7, "Trigger.Source"}};
    for (const auto& [id, property] : rows) {
        SCOPED_TRACE(property);
        pfsim::ClearCallLog();
        FindSetting(ctl, id)->setting->SetValue(1);
        EXPECT_EQ(Calls(), (std::vector<std::string>{"pfSetCameraPropertyI(0," +
                                                     std::string(property) + ",1)"}));
        pfsim::ClearCallLog();
        EXPECT_EQ(FindSetting(ctl, id)->setting->GetValue(), 1);
        EXPECT_EQ(Calls(), (std::vector<std::string>{"pfGetCameraPropertyI(0," +
                                                     std::string(property) + ")"}));
    }
}

TEST_F(ControllerSettings, CorrectionValuesCountOnlyTheModesPresent) {
    Load(Model({Int("Correction.Mode", 0), Bare("Correction.Mode.Offset"),
                Bare("Correction.Mode.GreyRefOut")}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    EXPECT_EQ(OptionsOf(FindSetting(ctl, kIdCorrection)),
              (Options{{0, L"Offset"}, {1, L"GreyRefOut"}}));
}

TEST_F(ControllerSettings, WindowModesKeepTheirFixedValues) {
    Load(Model({Int("Window.Mode", 3), Bare("Window.Mode.Window_512x512")}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    EXPECT_EQ(OptionsOf(FindSetting(ctl, kIdWindow)), (Options{{3, L"512x512"}}));
}

TEST_F(ControllerSettings, WindowWithoutModesIsListedEmpty) {
    Load(Model({Int("Window.Mode", 0)}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    ASSERT_NE(FindSetting(ctl, kIdWindow), nullptr);
    EXPECT_TRUE(FindSetting(ctl, kIdWindow)->options.empty());
}

TEST_F(ControllerSettings, MissingMainPropertyOmitsTheEntryWithoutOptionTests) {
    // Only option properties: none of the eight entries may exist, and none of the 14 option
    // names may be scanned for; 8 main properties and 2 real adjustments are.
    Load(Model(
        {Bare("Window.Mode.Window_512x512"), Bare("Correction.Mode.Off"), Bare("DigitalGain.1x")}));
    CAmbrelController ctl;
    ctl.Refresh();
    ctl.SetSetting(kIdPort, 0);
    EXPECT_EQ(SettingIds(ctl), (std::vector<int32_t>{0}));
    EXPECT_EQ(pfsim::CallCount("pfGetNumProperties"), 10u);
}

TEST_F(ControllerSettings, DecimationListsTheRangeInclusive) {
    Load(Model({Int("Decimation.Y", 1), Int("Decimation.Y.Min", -2), Int("Decimation.Y.Max", 1)}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    EXPECT_EQ(OptionsOf(FindSetting(ctl, kIdDecimationY)),
              (Options{{-2, L"-2"}, {-1, L"-1"}, {0, L"0"}, {1, L"1"}}));
}

TEST_F(ControllerSettings, DecimationMinimumAboveMaximumGivesNoOptions) {
    Load(Model({Int("Decimation.Y", 1), Int("Decimation.Y.Min", 3), Int("Decimation.Y.Max", 2)}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    ASSERT_NE(FindSetting(ctl, kIdDecimationY), nullptr);
    EXPECT_TRUE(FindSetting(ctl, kIdDecimationY)->options.empty());
}

TEST_F(ControllerSettings, DecimationRangeEndingAtInt32MaxStops) {
    constexpr int64_t kTop = std::numeric_limits<int32_t>::max();
    Load(Model({Int("Decimation.Y", 1), Int("Decimation.Y.Min", kTop - 2),
                Int("Decimation.Y.Max", kTop)}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    EXPECT_EQ(OptionsOf(FindSetting(ctl, kIdDecimationY)), (Options{{2147483645, L"2147483645"},
                                                                    {2147483646, L"2147483646"},
                                                                    {2147483647, L"2147483647"}}));
}

TEST_F(ControllerSettings, HugeDecimationRangeIsCapped) {
    Load(
        Model({Int("Decimation.Y", 1), Int("Decimation.Y.Min", std::numeric_limits<int32_t>::min()),
               Int("Decimation.Y.Max", std::numeric_limits<int32_t>::max())}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    const SettingInfo* decimation = FindSetting(ctl, kIdDecimationY);
    ASSERT_NE(decimation, nullptr);
    ASSERT_EQ(decimation->options.size(),
              static_cast<size_t>(CAmbrelController::kMaxDecimationOptions));
    EXPECT_EQ(decimation->options.front().value, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(decimation->options.front().label, L"-2147483648");
    EXPECT_EQ(decimation->options.back().value,
              std::numeric_limits<int32_t>::min() + CAmbrelController::kMaxDecimationOptions - 1);
}

TEST_F(ControllerSettings, NegativeReadShowsAsZero) {
    Load(Model({FaultyInt("DigitalGain", "-3"), FaultyInt("Trigger.Source", "-1")}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    EXPECT_EQ(FindSetting(ctl, kIdDigitalGain)->setting->GetValue(), 0);
    EXPECT_EQ(FindSetting(ctl, kIdTriggerMode)->setting->GetValue(), 0);
}

TEST_F(ControllerSettings, WriteIsSentUnchangedAndRebuildsEveryList) {
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    pfsim::ClearCallLog();
    EXPECT_TRUE(ctl.SetSetting(kIdTriggerMode, 2));
    const std::vector<std::string> calls = Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0], "pfSetCameraPropertyI(0,Trigger.Source,2)");
    EXPECT_EQ(pfsim::CallCount("pfSetCameraPropertyI"), 1u);
    EXPECT_EQ(pfsim::GetProperty(0, "Trigger.Source"), 2.0);
    EXPECT_EQ(pfsim::CallCount("pfGetNumPort"), 1u);
    EXPECT_EQ(SettingIds(ctl), (std::vector<int32_t>{8, 0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(ctl.m_cameraCommands.size(), 4u);
    EXPECT_EQ(ctl.m_adjustments.size(), 5u);
}

TEST_F(ControllerSettings, ClosedPortReadsZeroAndDropsWrites) {
    Load(FullModel());
    CAmbrelController ctl;
    CGetSetSettings& window = static_cast<CImageMode&>(ctl);
    CGetSetSettings& gain = static_cast<CDigtialGain&>(ctl);
    window.SetValue(2);
    gain.SetValue(1);
    EXPECT_EQ(window.GetValue(), 0);
    EXPECT_EQ(gain.GetValue(), 0);
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

}  // namespace
