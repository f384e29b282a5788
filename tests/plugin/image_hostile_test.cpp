// The Image page against a camera answering nonsense: extreme, negative and zero window and
// decimation values must give clamped controls and sane writes, never overflow.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "image_page_support.h"

using ui::input::Arrow;
using Strings = std::vector<std::string>;

namespace {
constexpr long long kMin = std::numeric_limits<int32_t>::min();
constexpr long long kMax = std::numeric_limits<int32_t>::max();
}  // namespace

TEST_F(ImagePageTest, ExtremeWindowAnswersSaturateTheRangesAndSteps) {
    std::string json = pfsim::DefaultModelJson();
    json = WithRead(json, "Window.W", kMin);
    json = WithRead(json, "Window.W.Max", kMax);
    json = WithRead(json, "Window.X", kMax);
    json = WithRead(json, "Window.Y", kMin);
    LoadModelJson(json);
    ShowImagePage();

    EXPECT_EQ(State(P::IDC_WIDTH_SPIN).rangeMax, 0) << "a negative width gives no size range";
    EXPECT_EQ(State(P::IDC_OFFSET_X_SPIN).rangeMax, kMax);
    EXPECT_EQ(State(P::IDC_OFFSET_X_SPIN).position, kMax / 32);
    EXPECT_EQ(State(P::IDC_OFFSET_Y_SPIN).position, 0);
    EXPECT_EQ(Text(P::IDC_OFFSET_Y_EDIT), L"-2147483648");

    // One step past the largest multiple of 32 saturates instead of wrapping negative.
    Spin(P::IDC_OFFSET_X_SPIN, Arrow::Up);
    EXPECT_EQ(Writes(), Strings{"Window.X=2147483616"});
    EXPECT_EQ(Text(P::IDC_OFFSET_X_EDIT), L"2147483647");
}

TEST_F(ImagePageTest, MaximaBelowTheSizeLeaveNoRoomAndNoHostRegion) {
    std::string json = pfsim::DefaultModelJson();
    json = WithRead(json, "Window.W.Max", 100);
    json = WithRead(json, "Window.H.Max", -5);
    LoadModelJson(json);
    setup.grabbing = true;
    ShowImagePage();

    EXPECT_EQ(State(P::IDC_WIDTH_SPIN).rangeMax, 1024);
    EXPECT_EQ(State(P::IDC_OFFSET_X_SPIN).rangeMax, 0);
    EXPECT_EQ(State(P::IDC_HEIGHT_SPIN).rangeMax, 0);
    EXPECT_EQ(State(P::IDC_OFFSET_Y_SPIN).rangeMax, 0);

    Type(P::IDC_OFFSET_X_EDIT, L"50\t");
    EXPECT_EQ(WritesOf("Window.X"), Strings{"0"});

    // "Max ROI" has no sane largest window to give; Apply's own region still follows.
    log.clear();
    ChooseRow(P::IDC_COMMAND_LIST, L"Max ROI");
    ClickApply();
    std::vector<std::wstring> toggles;
    for (const std::wstring& line : log)
        if (line.starts_with(L"ToggleGrabbing")) toggles.push_back(line);
    EXPECT_EQ(toggles, (std::vector<std::wstring>{
                           L"ToggleGrabbing after 0 regions", L"ToggleGrabbing after 0 regions",
                           L"ToggleGrabbing after 0 regions", L"ToggleGrabbing after 1 regions"}));
    EXPECT_TRUE(setup.grabbing);
}

TEST_F(ImagePageTest, DecimationReadingZeroDividesNothingAndIsNotWritten) {
    LoadModelJson(WithRead(pfsim::DefaultModelJson(), "Decimation.Y", 0));
    ShowImagePage();
    EXPECT_EQ(State(P::IDC_DECIMATION_LIST).selection, -1);

    ClickApply();
    EXPECT_EQ(Writes(), (Strings{"Window.W=1024", "Window.H=1024"}));
    EXPECT_EQ(setup.grabber.GetLastROI().height, 1024u);
}
