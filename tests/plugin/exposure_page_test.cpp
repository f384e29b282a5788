// The Exposure page driven as a user drives it, against the simulated camera.
#include <string>
#include <vector>

#include "RegisteredMessages.h"
#include "adjustment_support.h"

namespace {

using P = CPFExposurePage;
using ui::input::Result;

const std::string kExposureRows = R"(
    {"name": "Trigger.CFR", "type": "int", "value": 0, "min": 0, "max": 1},
    {"name": "Trigger.Interleave", "type": "int", "value": 0, "min": 0, "max": 1},
    {"name": "ExposureTime", "type": "real", "value": 0.25, "min": 0.01, "max": 0.9, "limits": true},
    {"name": "FrameTime", "type": "real", "value": 20, "min": 0.5, "max": 1000, "limits": true})";

class ExposurePageTest : public PageTest {
protected:
    ui::HWND PageWindow() override { return Exposure().GetSafeHwnd(); }
    void ShowExposure(const std::string& rows = kExposureRows) {
        ShowPage(CameraModel(rows), L"Exposure");
    }
};

TEST_F(ExposurePageTest, ShowsExposureOnAThousandthsSlider) {
    ShowExposure();
    ASSERT_TRUE(Exposure().HasExposureRecord());
    EXPECT_EQ(Exposure().GetExposureRecord()->sliderScale, 1000);
    EXPECT_EQ(Slider(P::IDC_EXPOSURE_SLIDER), (SliderState{10, 900, 250}));
    EXPECT_EQ(Text(P::IDC_EXPOSURE_MIN), L"0.010");
    EXPECT_EQ(Text(P::IDC_EXPOSURE_MAX), L"0.900");
    EXPECT_EQ(Text(P::IDC_EXPOSURE_EDIT), L"0.250");

    EXPECT_EQ(Slider(P::IDC_FRAME_TIME_SLIDER), (SliderState{500, 1000000, 20000}));
    EXPECT_EQ(Text(P::IDC_FRAME_TIME_MIN), L"0.500");
    EXPECT_EQ(Text(P::IDC_FRAME_TIME_MAX), L"1000.000");
    EXPECT_EQ(Text(P::IDC_FRAME_TIME_EDIT), L"20.000");

    EXPECT_TRUE(Enabled(P::IDC_CONSTANT_FRAME_RATE));
    EXPECT_TRUE(Enabled(P::IDC_SIMULTANEOUS_READOUT));
    EXPECT_EQ(Checked(P::IDC_CONSTANT_FRAME_RATE), ui::BST_UNCHECKED);
    // Frame time can be set only with a constant frame rate.
    EXPECT_FALSE(Enabled(P::IDC_FRAME_TIME_SLIDER));
    EXPECT_FALSE(Enabled(P::IDC_FRAME_TIME_EDIT));
    EXPECT_TRUE(Enabled(P::IDC_EXPOSURE_SLIDER));
    EXPECT_EQ(Writes(), 0u);
}

TEST_F(ExposurePageTest, SliderMoveWritesTheValueAndShowsWhatTheCameraHolds) {
    ShowExposure();
    Drag(P::IDC_EXPOSURE_SLIDER, 123);
    EXPECT_EQ(WritesOf("ExposureTime"), (std::vector<std::string>{"0.123"}));
    EXPECT_EQ(Text(P::IDC_EXPOSURE_EDIT), L"0.123");
    EXPECT_EQ(Slider(P::IDC_EXPOSURE_SLIDER).position, 123);
    EXPECT_EQ(WritesOf("FrameTime").size(), 0u);
}

TEST_F(ExposurePageTest, ConstantFrameRateEnablesFrameTime) {
    ShowExposure();
    const uint64_t frameReads = pfsim::CallCount("pfGetCameraPropertyF");
    ClickItem(P::IDC_CONSTANT_FRAME_RATE);
    EXPECT_EQ(WritesOf("Trigger.CFR"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Checked(P::IDC_CONSTANT_FRAME_RATE), ui::BST_CHECKED);
    EXPECT_TRUE(Enabled(P::IDC_FRAME_TIME_SLIDER));
    EXPECT_TRUE(Enabled(P::IDC_FRAME_TIME_EDIT));
    EXPECT_GT(pfsim::CallCount("pfGetCameraPropertyF"), frameReads);

    Drag(P::IDC_FRAME_TIME_SLIDER, 40000);
    EXPECT_EQ(WritesOf("FrameTime"), (std::vector<std::string>{"40"}));
    EXPECT_EQ(Text(P::IDC_FRAME_TIME_EDIT), L"40.000");

    ClickItem(P::IDC_CONSTANT_FRAME_RATE);
    EXPECT_EQ(WritesOf("Trigger.CFR"), (std::vector<std::string>{"1", "0"}));
    EXPECT_FALSE(Enabled(P::IDC_FRAME_TIME_SLIDER));
}

TEST_F(ExposurePageTest, SimultaneousReadoutIsWrittenAndFrameTimeReread) {
    ShowExposure();
    ASSERT_TRUE(pfsim::SetProperty(0, "FrameTime", 30));
    ClickItem(P::IDC_SIMULTANEOUS_READOUT);
    EXPECT_EQ(WritesOf("Trigger.Interleave"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Checked(P::IDC_SIMULTANEOUS_READOUT), ui::BST_CHECKED);
    EXPECT_EQ(Text(P::IDC_FRAME_TIME_EDIT), L"30.000");
    EXPECT_FALSE(Enabled(P::IDC_FRAME_TIME_SLIDER));  // still tied to constant frame rate
}

TEST_F(ExposurePageTest, ARefusedChangeShowsWhatTheCameraReadsBack) {
    ShowExposure(R"(
        {"name": "Trigger.CFR", "type": "int", "value": 0, "min": 0, "max": 1, "read_only": true},
        {"name": "ExposureTime", "type": "real", "value": 0.25, "min": 0.01, "max": 0.9, "limits": true},
        {"name": "FrameTime", "type": "real", "value": 20, "min": 0.5, "max": 1000, "limits": true})");
    ClickItem(P::IDC_CONSTANT_FRAME_RATE);
    EXPECT_EQ(WritesOf("Trigger.CFR"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Checked(P::IDC_CONSTANT_FRAME_RATE), ui::BST_UNCHECKED);
    EXPECT_FALSE(Enabled(P::IDC_FRAME_TIME_SLIDER));
}

TEST_F(ExposurePageTest, WithoutInterleaveSimultaneousReadoutIsOffAndDisabled) {
    ShowExposure(R"(
        {"name": "Trigger.CFR", "type": "int", "value": 1, "min": 0, "max": 1},
        {"name": "ExposureTime", "type": "real", "value": 0.25, "min": 0.01, "max": 0.9, "limits": true},
        {"name": "FrameTime", "type": "real", "value": 20, "min": 0.5, "max": 1000, "limits": true})");
    EXPECT_FALSE(Enabled(P::IDC_SIMULTANEOUS_READOUT));
    EXPECT_EQ(Checked(P::IDC_SIMULTANEOUS_READOUT), ui::BST_UNCHECKED);
    EXPECT_EQ(Checked(P::IDC_CONSTANT_FRAME_RATE), ui::BST_CHECKED);
    EXPECT_TRUE(Enabled(P::IDC_FRAME_TIME_SLIDER));
    EXPECT_EQ(ui::input::Click(Item(P::IDC_SIMULTANEOUS_READOUT)), Result::Disabled);
}

TEST_F(ExposurePageTest, TypedValuesAreWrittenAndNeitherEditIsRewrittenUntilASliderMoves) {
    ShowExposure(R"(
        {"name": "Trigger.CFR", "type": "int", "value": 1, "min": 0, "max": 1},
        {"name": "ExposureTime", "type": "real", "value": 0.25, "min": 0.01, "max": 0.9, "limits": true},
        {"name": "FrameTime", "type": "real", "value": 20, "min": 0.5, "max": 1000, "limits": true})");
    // The edits take digits only from the keyboard.
    Type(P::IDC_EXPOSURE_EDIT, L"0.5");
    EXPECT_EQ(WritesOf("ExposureTime"), (std::vector<std::string>{"0.01", "0.9"}));  // 0, 05
    EXPECT_EQ(Text(P::IDC_EXPOSURE_EDIT), L"05");
    Paste(P::IDC_EXPOSURE_EDIT, L"0.5");
    EXPECT_EQ(WritesOf("ExposureTime").back(), "0.5");
    EXPECT_EQ(Slider(P::IDC_EXPOSURE_SLIDER).position, 500);

    // The check-box handler re-reads frame time but leaves both edits alone.
    ASSERT_TRUE(pfsim::SetProperty(0, "FrameTime", 30));
    ClickItem(P::IDC_CONSTANT_FRAME_RATE);
    ClickItem(P::IDC_CONSTANT_FRAME_RATE);
    EXPECT_EQ(Slider(P::IDC_FRAME_TIME_SLIDER).position, 30000);
    EXPECT_EQ(Text(P::IDC_FRAME_TIME_EDIT), L"20.000");
    EXPECT_EQ(Text(P::IDC_EXPOSURE_EDIT), L"0.5");

    Drag(P::IDC_FRAME_TIME_SLIDER, 25000);
    EXPECT_EQ(Text(P::IDC_FRAME_TIME_EDIT), L"25.000");
    Paste(P::IDC_FRAME_TIME_EDIT, L"1e9");
    EXPECT_EQ(WritesOf("FrameTime").back(), "1000");
    EXPECT_EQ(Text(P::IDC_FRAME_TIME_EDIT), L"1e9");
}

TEST_F(ExposurePageTest, AReloadShowsTheCameraAgainAfterTyping) {
    ShowExposure();
    Paste(P::IDC_EXPOSURE_EDIT, L"0.5");
    ASSERT_TRUE(pfsim::SetProperty(0, "ExposureTime", 0.3));
    module->RefreshTabs();
    EXPECT_EQ(Text(P::IDC_EXPOSURE_EDIT), L"0.300");
    EXPECT_EQ(Slider(P::IDC_EXPOSURE_SLIDER).position, 300);
}

TEST_F(ExposurePageTest, NoOpenPortLeavesNothingToSet) {
    ShowExposure();
    Controller().SetSetting(kIdPort, -1);
    ASSERT_LT(Controller().m_port, 0);
    pfsim::ClearCallLog();
    Exposure().RefreshExposurePage();
    EXPECT_FALSE(Exposure().HasExposureRecord());
    EXPECT_EQ(Exposure().GetFrameTimeRecord(), nullptr);
    for (int id : {P::IDC_CONSTANT_FRAME_RATE, P::IDC_SIMULTANEOUS_READOUT}) {
        EXPECT_FALSE(Enabled(id)) << id;
        EXPECT_EQ(Checked(id), ui::BST_UNCHECKED) << id;
    }
    EXPECT_FALSE(Enabled(P::IDC_FRAME_TIME_SLIDER));
    EXPECT_FALSE(Enabled(P::IDC_FRAME_TIME_EDIT));
    EXPECT_EQ(Text(P::IDC_EXPOSURE_MIN), L"0.010");  // labels unchanged
    EXPECT_EQ(Text(P::IDC_FRAME_TIME_MAX), L"1000.000");
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);

    // Nothing the page receives then reaches the camera.
    Drag(P::IDC_EXPOSURE_SLIDER, 500);
    Paste(P::IDC_EXPOSURE_EDIT, L"3");
    ui::PostMessage(PageWindow(), REFRESH_SLIDER, P::kFrameTime, 0);
    ui::PumpMessages();
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

TEST_F(ExposurePageTest, WithoutFrameTimeItsNotificationsDoNothing) {
    ShowExposure(R"(
        {"name": "Trigger.CFR", "type": "int", "value": 1, "min": 0, "max": 1},
        {"name": "ExposureTime", "type": "real", "value": 0.25, "min": 0.01, "max": 0.9, "limits": true})");
    EXPECT_EQ(Exposure().GetFrameTimeRecord(), nullptr);
    Drag(P::IDC_FRAME_TIME_SLIDER, 5);
    Paste(P::IDC_FRAME_TIME_EDIT, L"7");
    EXPECT_EQ(Writes(), 0u);
}

TEST_F(ExposurePageTest, HostileRangesStayDefined) {
    ShowExposure(R"(
        {"name": "ExposureTime", "type": "real", "value": 1, "read": "nan"},
        {"name": "ExposureTime.Min", "type": "real", "value": 0, "read": "-inf", "read_only": true},
        {"name": "ExposureTime.Max", "type": "real", "value": 0, "read": "inf", "read_only": true})");
    EXPECT_EQ(Exposure().GetExposureRecord()->sliderScale, 10);
    // -inf to +inf in tenths: the half of the range holding the position 0.
    EXPECT_EQ(Slider(P::IDC_EXPOSURE_SLIDER).rangeMin, 0);
    EXPECT_EQ(Slider(P::IDC_EXPOSURE_SLIDER).rangeMax, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Slider(P::IDC_EXPOSURE_SLIDER).position, 0);  // NaN counts as 0
    EXPECT_EQ(Text(P::IDC_EXPOSURE_MIN), L"-INF");
    Paste(P::IDC_EXPOSURE_EDIT, L"1e300");
    EXPECT_EQ(WritesOf("ExposureTime"), (std::vector<std::string>{"inf"}));
    Drag(P::IDC_EXPOSURE_SLIDER, 7);
    EXPECT_EQ(WritesOf("ExposureTime").back(), "0.7");
}

// A page whose data exchange fails on reading, as one with a field that does not validate.
class FailingExposurePage : public CPFExposurePage {
public:
    using CPFExposurePage::CPFExposurePage;
    void DoDataExchange(ui::CDataExchange* pDX) override {
        CPFExposurePage::DoDataExchange(pDX);
        if (pDX->m_bSaveAndValidate) pDX->Fail(L"refused");
    }
};

TEST_F(ExposurePageTest, AFailedExchangeWritesNothing) {
    ShowExposure();
    ui::DataExchangeFailure reported;
    ui::SetDataExchangeFailureHandler([&](const ui::DataExchangeFailure& f) { reported = f; });
    FailingExposurePage page(module.get(), &Dialog());
    ASSERT_TRUE(page.Create(P::IDD, &Dialog()));
    page.RefreshExposurePage();
    page.ShowWindow(ui::SW_SHOW);
    Exposure().ShowWindow(ui::SW_HIDE);
    pfsim::ClearCallLog();

    ASSERT_EQ(ui::input::Click(ui::GetDlgItem(page.GetSafeHwnd(), P::IDC_CONSTANT_FRAME_RATE)),
              Result::Ok);
    EXPECT_EQ(Writes(), 0u);
    EXPECT_EQ(reported.message, L"refused");
    EXPECT_EQ(
        ui::Snapshot(ui::GetDlgItem(page.GetSafeHwnd(), P::IDC_CONSTANT_FRAME_RATE), false).checked,
        ui::BST_UNCHECKED);
    EXPECT_FALSE(ui::IsWindowEnabled(ui::GetDlgItem(page.GetSafeHwnd(), P::IDC_FRAME_TIME_EDIT)));
    ui::SetDataExchangeFailureHandler(nullptr);
    page.DestroyWindow();
}

}  // namespace
