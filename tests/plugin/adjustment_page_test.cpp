// The Adjustment page driven as a user drives it, against the simulated camera.
#include <limits>
#include <string>
#include <vector>

#include "RegisteredMessages.h"
#include "adjustment_support.h"

namespace {

using P = CPFAdjustmentPage;
using ui::input::Result;

class AdjustmentPageTest : public PageTest {
protected:
    ui::HWND PageWindow() override { return Adjustment().GetSafeHwnd(); }

    void ShowCrosshairs(const std::string& rows = kCrosshairsRows) {
        ShowPage(CameraModel(rows), L"Adjustment");
    }
    void Choose(const std::wstring& name) {
        ASSERT_EQ(PluginTest::Choose(ListBox(), name), Result::Ok);
    }
    ui::CListBox& ListBox() {
        return *static_cast<ui::CListBox*>(ui::CWnd::FromHandlePermanent(Item(P::IDC_LIST)));
    }
    void PressAndRelease(int id) {
        ASSERT_EQ(ui::input::PressButton(Item(id)), Result::Ok);
        ASSERT_EQ(ui::input::ReleaseButton(Item(id)), Result::Ok);
    }

    // Puts a copy of the camera's exposure entry into the controller's list under an id the
    // Adjustment page shows, so that the page's real-valued path drives "ExposureTime".
    void ShowExposureAsAdjustment(int32_t logScale = 0, int32_t autoCapable = 0) {
        AdjustmentInfo entry = Controller().m_adjustments.at(0);
        ASSERT_EQ(entry.id, kIdExposureTime);
        entry.id = kIdCrosshairsX;
        entry.name = L"Exposure copy";
        entry.logScale = logScale;
        entry.autoCapable = autoCapable;
        Controller().m_adjustments.push_back(entry);
        module->RefreshTabs();
        ClickTabNamed(L"Adjustment");
        pfsim::ClearCallLog();
    }
};

const std::string kExposureRow =
    R"({"name": "ExposureTime", "type": "real", "value": 0.25, "min": 0, "max": 0.8, "limits": true})";

TEST_F(AdjustmentPageTest, ListsTheCrosshairsAndShowsTheFirst) {
    ShowCrosshairs();
    EXPECT_EQ(Rows(ListBox()),
              (std::vector<std::wstring>{L"Crosshairs X", L"Crosshairs Y", L"Crosshairs Value"}));
    EXPECT_EQ(Adjustment().GetAdjustmentCount(), 3);
    const AdjustmentInfo* current = Adjustment().GetCurrent();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->name, L"Crosshairs X");
    EXPECT_EQ(current->largeStep, 10.0);
    EXPECT_EQ(current->smallStep, 1.0);
    EXPECT_EQ(current->sliderScale, 1);
    EXPECT_EQ(Selected(ListBox()), L"Crosshairs X");
    EXPECT_EQ(Slider(P::IDC_SLIDER), (SliderState{0, 1023, 512}));
    EXPECT_EQ(Text(P::IDC_MIN_LABEL), L"0");
    EXPECT_EQ(Text(P::IDC_MAX_LABEL), L"1023");
    EXPECT_EQ(Text(P::IDC_EDIT), L"512");
    for (int id : {P::IDC_SLIDER, P::IDC_EDIT, P::IDC_SMALL_DECREASE, P::IDC_LARGE_DECREASE,
                   P::IDC_SMALL_INCREASE, P::IDC_LARGE_INCREASE})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(P::IDC_AUTOMATIC));
    EXPECT_FALSE(Enabled(P::IDC_ONE_SHOT));
    EXPECT_FALSE(ui::IsWindowVisible(Item(P::IDC_AUTOMATIC)));
    EXPECT_FALSE(ui::IsWindowVisible(Item(P::IDC_ONE_SHOT)));
    // Showing reads the camera and writes nothing.
    EXPECT_EQ(Writes(), 0u);
}

TEST_F(AdjustmentPageTest, OnlyExposureAndFrameTimeGiveNoAdjustmentTab) {
    LoadModelFile("full.json");  // crosshairs off: adjustments 9 and 10 only
    StorePort(1);
    AttachModule();
    ASSERT_EQ(Controller().m_adjustments.size(), 2u);
    EXPECT_EQ(Adjustment().GetAdjustmentCount(), 0);
    EXPECT_EQ(Adjustment().GetCurrent(), nullptr);
    EXPECT_FALSE(HasTab(L"Adjustment"));
    EXPECT_TRUE(HasTab(L"Exposure"));
}

TEST_F(AdjustmentPageTest, ChoosingARowShowsThatAdjustment) {
    ShowCrosshairs();
    Choose(L"Crosshairs Value");
    EXPECT_EQ(Adjustment().GetCurrent()->name, L"Crosshairs Value");
    EXPECT_EQ(Adjustment().GetCurrent()->largeStep, 2.0);  // (150 - 0) / 100 raised to 2
    EXPECT_EQ(Slider(P::IDC_SLIDER), (SliderState{0, 150, 75}));
    EXPECT_EQ(Text(P::IDC_MAX_LABEL), L"150");
    EXPECT_EQ(Text(P::IDC_EDIT), L"75");
    EXPECT_EQ(Writes(), 0u);

    PressAndRelease(P::IDC_LARGE_DECREASE);
    EXPECT_EQ(WritesOf("Crosshairs.Value"), (std::vector<std::string>{"73"}));
    EXPECT_EQ(Text(P::IDC_EDIT), L"73");
}

TEST_F(AdjustmentPageTest, DraggingTheSliderWritesAndShowsTheValue) {
    ShowCrosshairs();
    Drag(P::IDC_SLIDER, 700);
    EXPECT_EQ(WritesOf("Crosshairs.X"), (std::vector<std::string>{"700"}));
    EXPECT_EQ(Camera("Crosshairs.X"), 700);
    EXPECT_EQ(Text(P::IDC_EDIT), L"700");
    EXPECT_EQ(Slider(P::IDC_SLIDER).position, 700);

    Drag(P::IDC_SLIDER, 0);
    EXPECT_EQ(Camera("Crosshairs.X"), 0);
    EXPECT_FALSE(Enabled(P::IDC_SMALL_DECREASE));
    EXPECT_FALSE(Enabled(P::IDC_LARGE_DECREASE));
    EXPECT_TRUE(Enabled(P::IDC_SMALL_INCREASE));
}

TEST_F(AdjustmentPageTest, TypedTextIsWrittenClampedAndLeftAsTyped) {
    ShowCrosshairs();
    Type(P::IDC_EDIT, L"600");
    EXPECT_EQ(WritesOf("Crosshairs.X"), (std::vector<std::string>{"6", "60", "600"}));
    EXPECT_EQ(Text(P::IDC_EDIT), L"600");
    EXPECT_EQ(Slider(P::IDC_SLIDER).position, 600);
    int start = 0, end = 0;
    ui::SendMessage(Item(P::IDC_EDIT), ui::EM_GETSEL, reinterpret_cast<ui::WPARAM>(&start),
                    reinterpret_cast<ui::LPARAM>(&end));
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 3);

    pfsim::ClearCallLog();
    Paste(P::IDC_EDIT, L"5000");
    EXPECT_EQ(WritesOf("Crosshairs.X"), (std::vector<std::string>{"1023"}));
    EXPECT_EQ(Text(P::IDC_EDIT), L"5000");  // the edit the user types in is not rewritten
    EXPECT_FALSE(Enabled(P::IDC_LARGE_INCREASE));

    pfsim::ClearCallLog();
    Paste(P::IDC_EDIT, L"abc");
    EXPECT_EQ(WritesOf("Crosshairs.X"), (std::vector<std::string>{"0"}));  // not a number: 0

    // A slider move is not typing: the edit shows the camera's value again.
    Drag(P::IDC_SLIDER, 300);
    EXPECT_EQ(Text(P::IDC_EDIT), L"300");
}

TEST_F(AdjustmentPageTest, LargeIncreaseStopsAtTheMaximum) {
    ShowCrosshairs();
    Type(P::IDC_EDIT, L"1020");
    pfsim::ClearCallLog();

    ASSERT_EQ(ui::input::PressButton(Item(P::IDC_LARGE_INCREASE)), Result::Ok);
    EXPECT_EQ(WritesOf("Crosshairs.X"), (std::vector<std::string>{"1023"}));
    EXPECT_EQ(Text(P::IDC_EDIT), L"1023");
    EXPECT_EQ(Slider(P::IDC_SLIDER).position, 1023);
    EXPECT_FALSE(Enabled(P::IDC_SMALL_INCREASE));
    EXPECT_FALSE(Enabled(P::IDC_LARGE_INCREASE));
    EXPECT_TRUE(Enabled(P::IDC_SMALL_DECREASE));
    EXPECT_TRUE(Enabled(P::IDC_LARGE_DECREASE));

    // Held on: the disabled button does not repeat.
    ui::AdvanceClock(3000);
    EXPECT_EQ(WritesOf("Crosshairs.X").size(), 1u);
    EXPECT_EQ(ui::input::ReleaseButton(Item(P::IDC_LARGE_INCREASE)), Result::Ok);

    PressAndRelease(P::IDC_SMALL_DECREASE);
    EXPECT_EQ(Camera("Crosshairs.X"), 1022);
    EXPECT_TRUE(Enabled(P::IDC_LARGE_INCREASE));
}

TEST_F(AdjustmentPageTest, HeldDecreaseStepsAtShrinkingIntervalsAndStopsAtTheMinimum) {
    ShowCrosshairs();
    Choose(L"Crosshairs Y");  // 100
    std::vector<std::pair<uint64_t, double>> writes;
    pfsim::SetWriteObserver([&](int32_t, const std::string& name, double, double held, int32_t) {
        if (name == "Crosshairs.Y") writes.emplace_back(ui::GetTickCount64(), held);
    });
    const uint64_t t0 = ui::GetTickCount64();
    ASSERT_EQ(ui::input::PressButton(Item(P::IDC_SMALL_DECREASE)), Result::Ok);
    ui::AdvanceClock(499);
    ASSERT_EQ(writes.size(), 1u);
    ui::AdvanceClock(1 + 99 + 98 + 97);
    ASSERT_EQ(writes.size(), 5u);
    const std::vector<uint64_t> expectedAt = {0, 500, 599, 697, 794};
    for (size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].first - t0, expectedAt[i]) << i;
        EXPECT_EQ(writes[i].second, 100.0 - 1 - static_cast<double>(i)) << i;
    }

    // Held until the minimum: the button disables itself and stops.
    ui::AdvanceClock(20000);
    EXPECT_EQ(Camera("Crosshairs.Y"), 0);
    EXPECT_EQ(writes.size(), 100u);
    EXPECT_FALSE(Enabled(P::IDC_SMALL_DECREASE));
    const size_t atMinimum = writes.size();
    ui::AdvanceClock(1000);
    EXPECT_EQ(writes.size(), atMinimum);
    EXPECT_EQ(ui::input::ReleaseButton(Item(P::IDC_SMALL_DECREASE)), Result::Ok);
    pfsim::SetWriteObserver(nullptr);
}

TEST_F(AdjustmentPageTest, ReleasingStopsTheRepeat) {
    ShowCrosshairs();
    ASSERT_EQ(ui::input::PressButton(Item(P::IDC_SMALL_INCREASE)), Result::Ok);
    ui::AdvanceClock(500);
    ASSERT_EQ(ui::input::ReleaseButton(Item(P::IDC_SMALL_INCREASE)), Result::Ok);
    EXPECT_EQ(WritesOf("Crosshairs.X"), (std::vector<std::string>{"513", "514"}));
    ui::AdvanceClock(2000);
    EXPECT_EQ(WritesOf("Crosshairs.X").size(), 2u);
}

TEST_F(AdjustmentPageTest, StepsStartFromTheEditNotTheSlider) {
    ShowCrosshairs();
    Type(P::IDC_EDIT, L"40");
    pfsim::ClearCallLog();
    PressAndRelease(P::IDC_LARGE_INCREASE);
    EXPECT_EQ(WritesOf("Crosshairs.X"), (std::vector<std::string>{"50"}));
    PressAndRelease(P::IDC_LARGE_DECREASE);
    PressAndRelease(P::IDC_LARGE_DECREASE);
    PressAndRelease(P::IDC_LARGE_DECREASE);
    PressAndRelease(P::IDC_LARGE_DECREASE);
    PressAndRelease(P::IDC_LARGE_DECREASE);
    EXPECT_EQ(WritesOf("Crosshairs.X"),
              (std::vector<std::string>{"50", "40", "30", "20", "10", "0"}));
    EXPECT_FALSE(Enabled(P::IDC_LARGE_DECREASE));
}

TEST_F(AdjustmentPageTest, ACameraChangeShownByARefreshIsWhereTheNextStepStarts) {
    ShowCrosshairs();
    Type(P::IDC_EDIT, L"600");
    // Another page changes the camera (a reset, say) and the dialog refreshes its pages.
    ASSERT_TRUE(pfsim::SetProperty(0, "Crosshairs.X", 100));
    module->RefreshTabs();
    ClickTabNamed(L"Adjustment");
    EXPECT_EQ(Text(P::IDC_EDIT), L"100");
    EXPECT_EQ(Slider(P::IDC_SLIDER).position, 100);
    pfsim::ClearCallLog();
    PressAndRelease(P::IDC_SMALL_INCREASE);
    EXPECT_EQ(WritesOf("Crosshairs.X"), (std::vector<std::string>{"101"}));
}

TEST_F(AdjustmentPageTest, RefreshKeepsTheSelectedRow) {
    ShowCrosshairs();
    Choose(L"Crosshairs Y");
    module->RefreshTabs();
    EXPECT_EQ(Selected(ListBox()), L"Crosshairs Y");
    EXPECT_EQ(Adjustment().GetCurrent()->id, kIdCrosshairsY);
    EXPECT_EQ(Text(P::IDC_EDIT), L"100");

    // Crosshairs switched off: the list empties and the tab goes.
    Controller().SetSetting(kIdCrosshairs, 0);
    module->RefreshTabs();
    EXPECT_EQ(Adjustment().GetAdjustmentCount(), 0);
    EXPECT_EQ(Adjustment().GetCurrent(), nullptr);
    EXPECT_FALSE(HasTab(L"Adjustment"));
}

TEST_F(AdjustmentPageTest, AnUnlimitedMaximumIsTakenAsTheLargestInteger) {
    ShowCrosshairs(R"(
        {"name": "Crosshairs.Enable", "type": "int", "value": 1, "min": 0, "max": 1},
        {"name": "Crosshairs.X", "type": "int", "value": 2147483600},
        {"name": "Crosshairs.X.Min", "type": "int", "value": 0, "read_only": true},
        {"name": "Crosshairs.X.Max", "type": "int", "value": -1, "read_only": true})");
    const AdjustmentInfo* current = Adjustment().GetCurrent();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->intMax, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(current->largeStep, 21474836.0);
    EXPECT_EQ(Text(P::IDC_MAX_LABEL), L"2147483647");
    EXPECT_EQ(Slider(P::IDC_SLIDER), (SliderState{0, 2147483647, 2147483600}));

    // A step past the top clamps without overflowing.
    PressAndRelease(P::IDC_LARGE_INCREASE);
    EXPECT_EQ(WritesOf("Crosshairs.X"), (std::vector<std::string>{"2147483647"}));
    EXPECT_FALSE(Enabled(P::IDC_LARGE_INCREASE));
}

TEST_F(AdjustmentPageTest, HostileIntegerRangeStaysDefined) {
    ShowCrosshairs(R"(
        {"name": "Crosshairs.Enable", "type": "int", "value": 1, "min": 0, "max": 1},
        {"name": "Crosshairs.X", "type": "int", "value": 0},
        {"name": "Crosshairs.X.Min", "type": "int", "value": -2147483648, "read_only": true},
        {"name": "Crosshairs.X.Max", "type": "int", "value": -2147483648, "read_only": true})");
    EXPECT_EQ(Adjustment().GetCurrent()->largeStep, 42949672.0);
    Paste(P::IDC_EDIT, L"-99999999999");
    EXPECT_EQ(WritesOf("Crosshairs.X"), (std::vector<std::string>{"-2147483648"}));
    EXPECT_FALSE(Enabled(P::IDC_LARGE_DECREASE));
    // A slider spans at most INT32_MAX positions: the half holding the value.
    EXPECT_EQ(Slider(P::IDC_SLIDER), (SliderState{-2147483647 - 1, -1, -2147483647 - 1}));
    Drag(P::IDC_SLIDER, -1);
    EXPECT_EQ(Camera("Crosshairs.X"), -1);
}

TEST_F(AdjustmentPageTest, RealAdjustmentMapsThousandths) {
    ShowPage(CameraModel(kExposureRow), L"Exposure");
    ShowExposureAsAdjustment();
    const AdjustmentInfo* current = Adjustment().GetCurrent();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->sliderScale, 1000);
    EXPECT_NEAR(current->smallStep, 0.002, 1e-8);
    EXPECT_NEAR(current->largeStep, 0.02, 1e-8);
    EXPECT_EQ(Slider(P::IDC_SLIDER), (SliderState{0, 800, 250}));
    EXPECT_EQ(Text(P::IDC_MIN_LABEL), L"0.000");
    EXPECT_EQ(Text(P::IDC_MAX_LABEL), L"0.800");
    EXPECT_EQ(Text(P::IDC_EDIT), L"0.250");

    Drag(P::IDC_SLIDER, 123);
    EXPECT_EQ(WritesOf("ExposureTime"), (std::vector<std::string>{"0.123"}));
    EXPECT_EQ(Text(P::IDC_EDIT), L"0.123");

    PressAndRelease(P::IDC_SMALL_INCREASE);
    EXPECT_EQ(WritesOf("ExposureTime").back(), "0.125");
    EXPECT_EQ(Slider(P::IDC_SLIDER).position, 125);

    Paste(P::IDC_EDIT, L"7");
    EXPECT_EQ(WritesOf("ExposureTime").back(), "0.8");
    EXPECT_FALSE(Enabled(P::IDC_LARGE_INCREASE));
    Paste(P::IDC_EDIT, L"nan");
    EXPECT_EQ(WritesOf("ExposureTime").back(), "0");  // not a number: 0, then clamped
    EXPECT_FALSE(Enabled(P::IDC_LARGE_DECREASE));
}

TEST_F(AdjustmentPageTest, LogarithmicSliderConvertsPositions) {
    ShowPage(CameraModel(R"({"name": "ExposureTime", "type": "real", "value": 2, "min": 0.001,
                             "max": 1000, "limits": true})"),
             L"Exposure");
    ShowExposureAsAdjustment(1);
    // Thousandths: 1 to 1000000, i.e. log10 0 to 6.
    EXPECT_EQ(Slider(P::IDC_SLIDER).rangeMin, 0);
    EXPECT_EQ(Slider(P::IDC_SLIDER).rangeMax, 60000000);
    Drag(P::IDC_SLIDER, 30000000);  // 10^3 thousandths
    EXPECT_EQ(WritesOf("ExposureTime"), (std::vector<std::string>{"1"}));
}

TEST_F(AdjustmentPageTest, AutomaticFollowsTheCameraAndRefusedAutomaticStaysOff) {
    ShowPage(CameraModel(kExposureRow), L"Exposure");
    ShowExposureAsAdjustment(0, 1);
    EXPECT_TRUE(Enabled(P::IDC_AUTOMATIC));
    EXPECT_EQ(Checked(P::IDC_AUTOMATIC), ui::BST_UNCHECKED);
    // Nothing shows the button; were it shown, a click asks for automatic mode, which no
    // adjustment of this camera has, so it reads back off and manual control stays.
    ui::ShowWindow(Item(P::IDC_AUTOMATIC), ui::SW_SHOW);
    ClickItem(P::IDC_AUTOMATIC);
    EXPECT_EQ(Checked(P::IDC_AUTOMATIC), ui::BST_UNCHECKED);
    EXPECT_TRUE(Enabled(P::IDC_SLIDER));
    EXPECT_TRUE(Enabled(P::IDC_EDIT));
    EXPECT_EQ(Writes(), 0u);
}

TEST_F(AdjustmentPageTest, OneShotRereadsTheCamera) {
    ShowCrosshairs();
    ui::ShowWindow(Item(P::IDC_ONE_SHOT), ui::SW_SHOW);
    ui::EnableWindow(Item(P::IDC_ONE_SHOT), true);
    ASSERT_TRUE(pfsim::SetProperty(0, "Crosshairs.X", 9));
    ClickItem(P::IDC_ONE_SHOT);
    EXPECT_EQ(Text(P::IDC_EDIT), L"9");
    EXPECT_FALSE(Enabled(P::IDC_ONE_SHOT));  // not one-shot capable
    EXPECT_EQ(Writes(), 0u);
}

TEST_F(AdjustmentPageTest, MessagesWithoutACurrentAdjustmentChangeNothing) {
    LoadModelFile("full.json");
    StorePort(1);
    AttachModule();
    pfsim::ClearCallLog();
    const ui::HWND page = Adjustment().GetSafeHwnd();
    for (ui::UINT message : {REFRESH_SLIDER, REFRESH_EDIT, REFRESH_LIST, REFRESH_AUTOBUTTON,
                             ONESHOT_MSG, REPEAT_BUTTON_TRIGGER})
        ui::PostMessage(page, message, P::IDC_SMALL_INCREASE, 0);
    ui::PumpMessages();
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

TEST_F(AdjustmentPageTest, RepaintsNeverWriteTheCamera) {
    ShowCrosshairs();
    ui::NMCUSTOMDRAW draw;
    draw.hdr.hwndFrom = Item(P::IDC_SLIDER);
    draw.hdr.idFrom = P::IDC_SLIDER;
    draw.hdr.code = ui::NM_CUSTOMDRAW;
    draw.dwDrawStage = ui::CDDS_PREPAINT;
    EXPECT_EQ(ui::SendMessage(PageWindow(), ui::WM_NOTIFY, P::IDC_SLIDER,
                              reinterpret_cast<ui::LPARAM>(&draw)),
              ui::CDRF_DODEFAULT);
    ui::PumpMessages();
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

}  // namespace
