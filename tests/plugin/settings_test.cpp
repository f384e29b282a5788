// The Settings page driven as a person would: the port list, the enumerated settings, the
// host's capture region on a window-mode change and the stored port re-opened on load.
#include <string>
#include <vector>

#include "PluginFixture.h"

namespace {

using Texts = std::vector<std::wstring>;
using ui::input::Result;

constexpr const wchar_t* kPort0 = L"CL port 0 (simulated)";
constexpr const wchar_t* kPort1 = L"CL port 1 (simulated)";

// A camera whose window mode stands outside the options it lists, beside a port that cannot
// be opened.
constexpr const char* kOddCamera = R"({
  "cameras": {"odd": {"properties": [
    {"name": "Window.Mode", "type": "int", "value": 5, "min": 0, "max": 7},
    "Window.Mode.Window_1024x1024",
    "Window.Mode.Window_1024x512"
  ]}},
  "ports": [
    {"description": "Good port", "camera": "odd"},
    {"description": "Dead port", "open_error": {"code": 5, "message": "No answer"}}
  ]
})";

class SettingsPageTest : public PluginTest {
protected:
    // Attached with port 0 open (stored row 1).
    void AttachWithPort0() {
        StorePort(1);
        AttachModule();
        ASSERT_TRUE(pfsim::IsPortOpen(0));
    }
    double Camera(const char* property) { return pfsim::GetProperty(0, property).value_or(-1); }
};

TEST_F(SettingsPageTest, NoPortOpenListsPortsAfterNotSelected) {
    AttachModule();

    EXPECT_EQ(Rows(Settings().m_featureList), Texts({L"Port"}));
    EXPECT_EQ(Selected(Settings().m_featureList), L"Port");
    EXPECT_EQ(Rows(Settings().m_valuesList), Texts({L"Not selected", kPort0, kPort1}));
    EXPECT_EQ(Selected(Settings().m_valuesList), L"Not selected");
    EXPECT_EQ(pfsim::OpenPortCount(), 0);
    EXPECT_EQ(module->m_nPort, 0);
}

TEST_F(SettingsPageTest, ChoosingAPortOpensItAndRecordsItsRow) {
    AttachModule();
    debug->Clear();

    ASSERT_EQ(Choose(Settings().m_valuesList, kPort1), Result::Ok);

    EXPECT_TRUE(pfsim::IsPortOpen(1));
    EXPECT_EQ(Controller().m_port, 1);
    EXPECT_EQ(module->m_nPort, 2);
    EXPECT_EQ(debug->Count(L"Port is ====================== 2"), 1u);
    // The lists now follow the open camera, leaving out what the other pages show.
    EXPECT_EQ(
        Rows(Settings().m_featureList),
        Texts({L"Port", L"Window", L"Correction", L"Crosshairs", L"DigitalGain", L"Trigger Mode"}));
    EXPECT_EQ(Selected(Settings().m_featureList), L"Port");
    EXPECT_EQ(Selected(Settings().m_valuesList), kPort1);

    ASSERT_EQ(Choose(Settings().m_valuesList, L"Not selected"), Result::Ok);
    EXPECT_EQ(pfsim::OpenPortCount(), 0);
    EXPECT_EQ(module->m_nPort, 0);
    EXPECT_EQ(Rows(Settings().m_featureList), Texts({L"Port"}));
}

TEST_F(SettingsPageTest, ChoosingAFeatureShowsItsOptionsWithoutWritingTheCamera) {
    AttachWithPort0();
    pfsim::SetProperty(0, "Correction.Mode", 2);
    const uint64_t writes = pfsim::CallCount("pfSetCameraPropertyI");

    ASSERT_EQ(Choose(Settings().m_featureList, L"Correction"), Result::Ok);

    EXPECT_EQ(Rows(Settings().m_valuesList),
              Texts({L"Off", L"Offset", L"OffsetHotpixel", L"OffsetGainHotpixel", L"BlackRefOut",
                     L"GreyRefOut"}));
    EXPECT_EQ(Selected(Settings().m_valuesList), L"OffsetHotpixel");
    EXPECT_EQ(pfsim::CallCount("pfSetCameraPropertyI"), writes);
}

TEST_F(SettingsPageTest, WindowModeWhileGrabbingPausesGrabbingAroundTheRegion) {
    AttachWithPort0();
    setup.grabbing = true;
    log.clear();

    ASSERT_EQ(Choose(Settings().m_featureList, L"Window"), Result::Ok);
    EXPECT_EQ(Rows(Settings().m_valuesList),
              Texts({L"1024x1024", L"1024x512", L"1024x256", L"512x512"}));
    EXPECT_EQ(Selected(Settings().m_valuesList), L"1024x1024");
    ASSERT_EQ(Choose(Settings().m_valuesList, L"1024x512"), Result::Ok);

    EXPECT_EQ(Camera("Window.Mode"), 1);
    EXPECT_EQ(log, HostLog({L"ToggleGrabbing after 0 regions", L"ToggleGrabbing after 1 regions"}));
    const DGrabRegion roi = setup.grabber.GetLastROI();
    EXPECT_EQ(roi.x, 0u);
    EXPECT_EQ(roi.y, 0u);
    EXPECT_EQ(roi.width, 1024u);
    EXPECT_EQ(roi.height, 512u);
    EXPECT_TRUE(setup.grabbing);
    // The tabs were refreshed: the feature list is back on its first row.
    EXPECT_EQ(Selected(Settings().m_featureList), L"Port");
    EXPECT_EQ(Selected(Settings().m_valuesList), kPort0);
}

TEST_F(SettingsPageTest, EachWindowModeSetsItsRegionWithoutTogglingAnIdleGrabber) {
    AttachWithPort0();
    log.clear();
    const struct {
        const wchar_t* label;
        uint32_t width;
        uint32_t height;
    } modes[] = {{L"1024x256", 1024, 256},
                 {L"512x512", 512, 512},
                 {L"1024x512", 1024, 512},
                 {L"1024x1024", 1024, 1024}};
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.label);
        ASSERT_EQ(Choose(Settings().m_featureList, L"Window"), Result::Ok);
        ASSERT_EQ(Choose(Settings().m_valuesList, mode.label), Result::Ok);
        EXPECT_EQ(setup.grabber.GetLastROI().width, mode.width);
        EXPECT_EQ(setup.grabber.GetLastROI().height, mode.height);
    }
    EXPECT_EQ(setup.grabber.GetROICount(), 4u);
    EXPECT_TRUE(log.empty());
}

TEST_F(SettingsPageTest, WindowModeWithoutGrabberChangesTheCameraOnly) {
    AttachWithPort0();
    setup.hasGrabber = false;
    setup.grabbing = true;
    log.clear();

    ASSERT_EQ(Choose(Settings().m_featureList, L"Window"), Result::Ok);
    ASSERT_EQ(Choose(Settings().m_valuesList, L"512x512"), Result::Ok);

    EXPECT_EQ(Camera("Window.Mode"), 3);
    EXPECT_EQ(setup.grabber.GetROICount(), 0u);
    EXPECT_TRUE(log.empty());
}

TEST_F(SettingsPageTest, TriggerModeIsWrittenWithoutARegionChange) {
    AttachWithPort0();

    ASSERT_EQ(Choose(Settings().m_featureList, L"Trigger Mode"), Result::Ok);
    EXPECT_EQ(Rows(Settings().m_valuesList),
              Texts({L"Free running", L"Interface Trigger", L"IO Trigger"}));
    ASSERT_EQ(Choose(Settings().m_valuesList, L"IO Trigger"), Result::Ok);

    EXPECT_EQ(Camera("Trigger.Source"), 2);
    EXPECT_EQ(setup.grabber.GetROICount(), 0u);
    EXPECT_EQ(Selected(Settings().m_featureList), L"Port");
    // Shown again, the setting reads back as written.
    ASSERT_EQ(Choose(Settings().m_featureList, L"Trigger Mode"), Result::Ok);
    EXPECT_EQ(Selected(Settings().m_valuesList), L"IO Trigger");
}

TEST_F(SettingsPageTest, StoredPortRowIsReopenedOnLoad) {
    StorePort(2);
    AttachModule();

    EXPECT_TRUE(pfsim::IsPortOpen(1));
    EXPECT_EQ(pfsim::OpenPortCount(), 1);
    EXPECT_EQ(module->m_nPort, 2);
    EXPECT_EQ(Selected(Settings().m_valuesList), kPort1);
    EXPECT_TRUE(debug->Contains(L"Port is ====================== 2"));
}

TEST_F(SettingsPageTest, StoredRowOutsideTheListClosesThePortAndBecomesZero) {
    for (const int row : {3, 5, -3}) {
        SCOPED_TRACE(row);
        AttachWithPort0();

        Settings().SelectStoredPort(row);

        EXPECT_EQ(pfsim::OpenPortCount(), 0);
        EXPECT_EQ(module->m_nPort, 0);
        EXPECT_EQ(Selected(Settings().m_valuesList), L"Not selected");
        module.reset();
        EXPECT_EQ(StoredPort(), 0);
    }
}

TEST_F(SettingsPageTest, PortThatFailsToOpenIsStoredAsNotSelected) {
    LoadModelJson(kOddCamera);
    AttachModule();
    ASSERT_EQ(Choose(Settings().m_valuesList, L"Good port"), Result::Ok);
    ASSERT_EQ(module->m_nPort, 1);

    ASSERT_EQ(Choose(Settings().m_valuesList, L"Dead port"), Result::Ok);

    EXPECT_EQ(pfsim::OpenPortCount(), 0);
    EXPECT_EQ(module->m_nPort, 0);
    EXPECT_EQ(Selected(Settings().m_valuesList), L"Not selected");
    EXPECT_TRUE(debug->Contains(L"Port is ====================== 0"));
}

TEST_F(SettingsPageTest, CameraValueOutsideTheOptionsSelectsNoRow) {
    LoadModelJson(kOddCamera);
    StorePort(1);
    AttachModule();

    ASSERT_EQ(Choose(Settings().m_featureList, L"Window"), Result::Ok);
    EXPECT_EQ(Rows(Settings().m_valuesList), Texts({L"1024x1024", L"1024x512"}));
    EXPECT_EQ(Settings().m_valuesList.GetCurSel(), -1);

    ASSERT_EQ(Choose(Settings().m_valuesList, L"1024x512"), Result::Ok);
    EXPECT_EQ(pfsim::GetProperty(0, "Window.Mode"), 1.0);
    EXPECT_EQ(setup.grabber.GetLastROI().height, 512u);
}

TEST_F(SettingsPageTest, NothingToSelectChangesNothingOnTheCamera) {
    LoadModelFile("noports.json");
    AttachModule();
    EXPECT_EQ(Settings().m_featureList.GetCount(), 0);
    EXPECT_EQ(Settings().m_valuesList.GetCount(), 0);

    Settings().SelectStoredPort(0);
    Settings().ApplySelection();

    EXPECT_EQ(pfsim::CallCount("pfOpenPort"), 0u);
    EXPECT_EQ(pfsim::CallCount("pfSetCameraPropertyI"), 0u);
    EXPECT_EQ(module->m_nPort, 0);
}

TEST_F(SettingsPageTest, KeyboardSelectionAppliesTheOption) {
    AttachModule();
    ASSERT_EQ(ui::input::PressKey(Settings().m_valuesList.GetSafeHwnd(), ui::input::Key::Down),
              Result::Ok);

    EXPECT_TRUE(pfsim::IsPortOpen(0));
    EXPECT_EQ(module->m_nPort, 1);
}

}  // namespace
