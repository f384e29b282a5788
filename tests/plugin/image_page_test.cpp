// The Image page driven through user input against the simulated camera: offsets, sizes,
// Apply, the commands, Lock and a camera without a port or window properties.
#include <string>
#include <vector>

#include "image_page_support.h"

using ui::input::Arrow;
using ui::input::Key;
using Strings = std::vector<std::string>;

class ImageOffsetTest : public ImagePageTest {
protected:
    void SetUp() override {
        ImagePageTest::SetUp();
        ASSERT_TRUE(pfsim::SetProperty(0, "Window.W", 512));
        ASSERT_TRUE(pfsim::SetProperty(0, "Window.H", 512));
        ShowImagePage();
    }
};

TEST_F(ImageOffsetTest, TypedOffsetXIsSnappedToItsStepWhenTheEditIsLeft) {
    Type(P::IDC_OFFSET_X_EDIT, L"100");
    EXPECT_EQ(Writes(), Strings{}) << "nothing is written while typing";

    Press(P::IDC_OFFSET_X_EDIT, Key::Tab);
    EXPECT_EQ(Writes(), Strings{"Window.X=96"});
    EXPECT_EQ(Text(P::IDC_OFFSET_X_EDIT), L"96");
    EXPECT_EQ(State(P::IDC_OFFSET_X_SPIN).position, 3);
    EXPECT_EQ(State(P::IDC_OFFSET_X_SPIN).rangeMax, 512);
    EXPECT_EQ(ui::GetFocus(), Item(P::IDC_OFFSET_Y_EDIT));
}

TEST_F(ImageOffsetTest, TypedOffsetBeyondTheRoomLeftIsClampedToIt) {
    Type(P::IDC_OFFSET_X_EDIT, L"600\t");
    EXPECT_EQ(Writes(), Strings{"Window.X=512"});
    EXPECT_EQ(Text(P::IDC_OFFSET_X_EDIT), L"512");
    EXPECT_EQ(State(P::IDC_OFFSET_X_SPIN).position, 16);

    // Beyond 32 bits saturates rather than falling back to 0; text without a number is 0.
    Type(P::IDC_OFFSET_X_EDIT, L"0\t");
    Paste(P::IDC_OFFSET_X_EDIT, L"99999999999");
    Press(P::IDC_OFFSET_X_EDIT, Key::Tab);
    Paste(P::IDC_OFFSET_X_EDIT, L"abc");
    Press(P::IDC_OFFSET_X_EDIT, Key::Tab);
    EXPECT_EQ(WritesOf("Window.X"), (Strings{"512", "0", "512", "0"}));
    EXPECT_EQ(Text(P::IDC_OFFSET_X_EDIT), L"0");
}

TEST_F(ImageOffsetTest, OffsetSpinsStepInTheirOwnUnits) {
    Type(P::IDC_OFFSET_X_EDIT, L"100\t");
    pfsim::ClearCallLog();

    Spin(P::IDC_OFFSET_X_SPIN, Arrow::Up);
    Spin(P::IDC_OFFSET_Y_SPIN, Arrow::Up);
    EXPECT_EQ(Writes(), (Strings{"Window.X=128", "Window.Y=1"}));
    EXPECT_EQ(Text(P::IDC_OFFSET_X_EDIT), L"128");
    EXPECT_EQ(Text(P::IDC_OFFSET_Y_EDIT), L"1");
    EXPECT_EQ(State(P::IDC_OFFSET_X_SPIN).position, 4);
}

TEST_F(ImageOffsetTest, EnterInAnOffsetEditCommitsItAndMovesOn) {
    Type(P::IDC_OFFSET_Y_EDIT, L"37");
    Press(P::IDC_OFFSET_Y_EDIT, Key::Enter);
    EXPECT_EQ(Writes(), Strings{"Window.Y=37"});
    EXPECT_EQ(Camera("Window.Y"), 37);
    EXPECT_NE(ui::GetFocus(), Item(P::IDC_OFFSET_Y_EDIT));
    EXPECT_FALSE(ui::IsDialogEnded(Image().GetSafeHwnd()));
}

TEST_F(ImagePageTest, TypedSizeIsAcceptedOnlyBelowTheSpinsMaximum) {
    ShowImagePage();
    EXPECT_EQ(State(P::IDC_WIDTH_SPIN).rangeMax, 1024);

    Paste(P::IDC_WIDTH_EDIT, L"2000");
    EXPECT_EQ(Text(P::IDC_WIDTH_EDIT), L"1024");
    Paste(P::IDC_WIDTH_EDIT, L"1024");
    EXPECT_EQ(Text(P::IDC_WIDTH_EDIT), L"1024");
    Paste(P::IDC_WIDTH_EDIT, L"-5");
    EXPECT_EQ(Text(P::IDC_WIDTH_EDIT), L"1024");
    Paste(P::IDC_WIDTH_EDIT, L"800");
    EXPECT_EQ(Text(P::IDC_WIDTH_EDIT), L"800");
    EXPECT_EQ(State(P::IDC_WIDTH_SPIN).position, 800);

    // Typed key by key, each prefix is checked: "2000" falls back to "200".
    Type(P::IDC_HEIGHT_EDIT, L"2000");
    EXPECT_EQ(Text(P::IDC_HEIGHT_EDIT), L"200");
    EXPECT_EQ(State(P::IDC_HEIGHT_SPIN).position, 200);
    EXPECT_EQ(Writes(), Strings{}) << "sizes wait for Apply";
}

TEST_F(ImagePageTest, SizeSpinShowsThePositionItLeaves) {
    ShowImagePage();
    Spin(P::IDC_WIDTH_SPIN, Arrow::Down);
    EXPECT_EQ(Text(P::IDC_WIDTH_EDIT), L"1024");
    Spin(P::IDC_WIDTH_SPIN, Arrow::Down);
    EXPECT_EQ(Text(P::IDC_WIDTH_EDIT), L"1023");
    EXPECT_EQ(State(P::IDC_WIDTH_SPIN).position, 1022);
}

TEST_F(ImagePageTest, ApplyWritesSizesAndDecimationAndSetsTheHostRegion) {
    ShowImagePage();
    ChooseRow(P::IDC_DECIMATION_LIST, L"2");
    ClickApply();

    EXPECT_EQ(Writes(), (Strings{"Window.W=1024", "Window.H=1024", "Decimation.Y=2"}));
    const DGrabRegion region = setup.grabber.GetLastROI();
    EXPECT_EQ(region.x, 0u);
    EXPECT_EQ(region.y, 0u);
    EXPECT_EQ(region.width, 1024u);
    EXPECT_EQ(region.height, 512u);
    EXPECT_EQ(State(P::IDC_DECIMATION_LIST).selection, 1);

    // A narrower window typed in is written and becomes the size spin's new maximum.
    pfsim::ClearCallLog();
    Paste(P::IDC_WIDTH_EDIT, L"800");
    ClickApply();
    EXPECT_EQ(Writes().front(), "Window.W=800");
    EXPECT_EQ(setup.grabber.GetLastROI().width, 800u);
    EXPECT_EQ(State(P::IDC_WIDTH_SPIN).rangeMax, 800);
    EXPECT_EQ(State(P::IDC_OFFSET_X_SPIN).rangeMax, 224);
}

TEST_F(ImagePageTest, AnEmptiedSizeEditIsReportedAndApplyWritesTheSizesAsLastRead) {
    ShowImagePage();
    std::vector<std::wstring> reported;
    ui::SetDataExchangeFailureHandler(
        [&](const ui::DataExchangeFailure& f) { reported.push_back(f.message); });
    // At the spin's limit the old width comes back at once.
    Paste(P::IDC_WIDTH_EDIT, L"");
    EXPECT_EQ(Text(P::IDC_WIDTH_EDIT), L"1024");
    // Below it the edit stays empty and the member keeps the width last read.
    Paste(P::IDC_WIDTH_EDIT, L"700");
    Type(P::IDC_HEIGHT_EDIT, L"300");
    Paste(P::IDC_HEIGHT_EDIT, L"");
    EXPECT_EQ(Text(P::IDC_HEIGHT_EDIT), L"");
    EXPECT_EQ(State(P::IDC_HEIGHT_SPIN).position, 300);
    EXPECT_EQ(reported, (std::vector<std::wstring>(2, L"Please enter an integer.")));
    ui::SetDataExchangeFailureHandler(nullptr);

    ChooseRow(P::IDC_COMMAND_LIST, L"Max ROI");
    ClickApply();
    EXPECT_EQ(Writes(),
              (Strings{"Window.W=700", "Window.H=300", "Decimation.Y=1", "Window.Max=1"}));
    EXPECT_GT(setup.grabber.GetROICount(), 0u);
    EXPECT_EQ(Text(P::IDC_HEIGHT_EDIT), L"1024") << "Max ROI made the window whole again";
}

namespace {

// Records the host's region each time grabbing is switched.
class RegionRecordingSetup : public TestSetup {
public:
    using TestSetup::TestSetup;
    void ToggleGrabbing() override {
        TestSetup::ToggleGrabbing();
        const DGrabRegion region = grabber.GetLastROI();
        regions.push_back(std::to_string(region.width) + "x" + std::to_string(region.height) +
                          (grabbing ? " on" : " off"));
    }
    Strings regions;
};

class ImageGrabbingTest : public ImagePageTest {
protected:
    HostLog hostLog;
    RegionRecordingSetup grabbingSetup{hostLog, L"Day 2"};
};

}  // namespace

TEST_F(ImageGrabbingTest, MaxROIWhileGrabbingGivesTheHostTheLargestWindow) {
    grabbingSetup.grabbing = true;
    ASSERT_TRUE(pfsim::SetProperty(0, "Window.W", 512));
    ASSERT_TRUE(pfsim::SetProperty(0, "Window.H", 256));
    ShowImagePage(&grabbingSetup);

    ChooseRow(P::IDC_COMMAND_LIST, L"Max ROI");
    ClickApply();

    EXPECT_EQ(Writes(),
              (Strings{"Window.W=512", "Window.H=256", "Decimation.Y=1", "Window.Max=1"}));
    // The command's own region change, then the one every Apply makes.
    EXPECT_EQ(grabbingSetup.regions,
              (Strings{"0x0 off", "1024x1024 on", "1024x1024 off", "1024x1024 on"}));
    EXPECT_TRUE(grabbingSetup.grabbing);
    EXPECT_EQ(State(P::IDC_COMMAND_LIST).selection, 0);
    EXPECT_EQ(Text(P::IDC_WIDTH_EDIT), L"1024");
}

TEST_F(ImagePageTest, ListsOfferTheCommandsAfterABlankRowAndEachDecimationOnce) {
    ShowImagePage();
    const ui::WindowSnapshot commands = State(P::IDC_COMMAND_LIST);
    ASSERT_EQ(commands.rows.size(), 5u);
    EXPECT_EQ(commands.rows[0].text, L"      ");
    const std::vector<std::pair<std::wstring, ui::LPARAM>> expected = {{L"      ", 0},
                                                                       {L"StoreDefaults", 15},
                                                                       {L"FactoryReset", 14},
                                                                       {L"ResetToDefault", 17},
                                                                       {L"Max ROI", 16}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(commands.rows[i].text, expected[i].first);
        EXPECT_EQ(commands.rows[i].data, expected[i].second);
    }
    EXPECT_EQ(commands.selection, 0);
    EXPECT_EQ(Image().GetCommandRowCount(), 5);

    ASSERT_TRUE(pfsim::SetProperty(0, "Decimation.Y", 3));
    Controller().Refresh();
    Image().RefreshImagePage();
    Image().RefreshImagePage();
    const ui::WindowSnapshot decimation = State(P::IDC_DECIMATION_LIST);
    std::vector<std::wstring> rows;
    for (const ui::RowSnapshot& row : decimation.rows) rows.push_back(row.text);
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"1", L"2", L"3", L"4"}));
    EXPECT_EQ(decimation.selection, 2);
}

TEST_F(ImagePageTest, FactoryResetRefreshesThePagesFromTheCamera) {
    ShowImagePage();
    Paste(P::IDC_WIDTH_EDIT, L"640");
    ClickApply();
    ASSERT_EQ(Text(P::IDC_WIDTH_EDIT), L"640");

    ChooseRow(P::IDC_COMMAND_LIST, L"FactoryReset");
    ClickApply();
    EXPECT_EQ(Writes().back(), "FactoryReset=1");
    EXPECT_EQ(Text(P::IDC_WIDTH_EDIT), L"1024");
    EXPECT_EQ(State(P::IDC_WIDTH_SPIN).rangeMax, 1024);
    EXPECT_EQ(State(P::IDC_COMMAND_LIST).selection, 0);
    EXPECT_TRUE(Settings().IsWindowVisible()) << "the tabs were rebuilt, showing the first";
}

TEST_F(ImageOffsetTest, LockLeavesOnlyTheOffsetsEditable) {
    const int locked[] = {
        P::IDC_APPLY,        P::IDC_WIDTH_EDIT,       P::IDC_HEIGHT_EDIT,  P::IDC_WIDTH_SPIN,
        P::IDC_HEIGHT_SPIN,  P::IDC_DECIMATION_LIST,  P::IDC_COMMAND_LIST, P::IDC_WIDTH_LABEL,
        P::IDC_HEIGHT_LABEL, P::IDC_DECIMATION_LABEL, P::IDC_COMMAND_LABEL};
    Image().Lock(true);
    for (int id : locked) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(ui::input::Click(Item(P::IDC_APPLY)), ui::input::Result::Disabled);

    // A refresh meanwhile does not undo the lock.
    Image().RefreshImagePage();
    for (int id : locked) EXPECT_FALSE(Enabled(id)) << id;

    Type(P::IDC_OFFSET_X_EDIT, L"64\t");
    Spin(P::IDC_OFFSET_Y_SPIN, Arrow::Up);
    EXPECT_EQ(Writes(), (Strings{"Window.X=64", "Window.Y=1"}));

    Image().Lock(false);
    for (int id : locked) EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(ImagePageTest, WithoutAPortTheGeometryIsDisabledAndTheSpinsEmpty) {
    AttachModule();
    for (int id :
         {P::IDC_WIDTH_EDIT, P::IDC_HEIGHT_EDIT, P::IDC_OFFSET_X_EDIT, P::IDC_OFFSET_Y_EDIT,
          P::IDC_WIDTH_SPIN, P::IDC_HEIGHT_SPIN, P::IDC_OFFSET_X_SPIN, P::IDC_OFFSET_Y_SPIN}) {
        EXPECT_FALSE(Enabled(id)) << id;
        if (State(id).kind == ui::WindowKind::Spin) {
            EXPECT_EQ(State(id).rangeMin, 0) << id;
            EXPECT_EQ(State(id).rangeMax, 0) << id;
            EXPECT_EQ(State(id).position, 0) << id;
        }
    }
    EXPECT_FALSE(Enabled(P::IDC_DECIMATION_LIST));
    EXPECT_EQ(Image().GetCommandRowCount(), 1);
    EXPECT_EQ(State(P::IDC_COMMAND_LIST).selection, -1);
    EXPECT_EQ(Text(P::IDC_WIDTH_EDIT), L"0");
}

TEST_F(ImagePageTest, CameraWithoutAnOffsetPropertyHasNoGeometry) {
    std::string json = pfsim::DefaultModelJson();
    const std::string row =
        R"({"name": "Window.Y", "type": "int", "value": 0, "min": 0, "max": 1023},)";
    const std::size_t at = json.find(row);
    ASSERT_NE(at, std::string::npos);
    LoadModelJson(json.erase(at, row.size()));
    ShowImagePage();

    EXPECT_FALSE(Enabled(P::IDC_OFFSET_X_EDIT));
    EXPECT_FALSE(Enabled(P::IDC_WIDTH_SPIN));
    EXPECT_TRUE(Enabled(P::IDC_APPLY));
    EXPECT_TRUE(Enabled(P::IDC_DECIMATION_LIST));
}
