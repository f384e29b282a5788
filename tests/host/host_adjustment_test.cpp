// The Adjustment page: crosshairs switched on, and step buttons held while time passes.
#include "HostRun.h"

namespace host_test {
namespace {

using AdjustmentTest = HostTest;

constexpr const char* kCrosshairs =
    "select settings.16315 1\nselect settings.16316 3\nselect settings.16315 0\n"
    "tab Adjustment\nselect adjustment.16300 0\n";

int CrosshairsX(const nlohmann::ordered_json& dump) {
    return dump["camera"]["properties"]["Crosshairs.X"].get<int>();
}

TEST_F(AdjustmentTest, SwitchingCrosshairsOnAddsTheAdjustmentTab) {
    const HostRun run = Run(std::string(kCrosshairs) + "dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.HasInOrder({"camera: Crosshairs.Enable = 1"}));
    const auto& dump = run.LastDump();
    EXPECT_EQ(dump["tabs"]["items"],
              (nlohmann::ordered_json{"Settings", "Adjustment", "Image", "Exposure"}));
    EXPECT_EQ(dump["tabs"]["selected"], "Adjustment");
    EXPECT_EQ(ControlOf(dump, "adjustment", 16310)["text"], "512");
    EXPECT_EQ(ControlOf(dump, "adjustment", 16301)["range"], (nlohmann::ordered_json{0, 1023}));
}

TEST_F(AdjustmentTest, HeldStepButtonRepeatsWhileTimePassesAndStopsOnRelease) {
    const HostRun run = Run(std::string(kCrosshairs) +
                            "press adjustment.16304\ndump\nwait 1000\ndump\n"
                            "release adjustment.16304\nwait 1000\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.dumps.size(), 3u);
    const int pressed = CrosshairsX(run.dumps[0]);
    const int held = CrosshairsX(run.dumps[1]);
    const int released = CrosshairsX(run.dumps[2]);
    // One step at once, more while held, none after the release.
    EXPECT_EQ(pressed, 513);
    EXPECT_GT(held, pressed + 1);
    EXPECT_EQ(released, held);
    EXPECT_EQ(run.Count("camera: Crosshairs.X = " + std::to_string(held)), 1);
    ExpectGolden("crosshairs-held.trace", run.Events());
}

TEST_F(AdjustmentTest, SliderAndEditSetTheSelectedAdjustment) {
    const HostRun run = Run(std::string(kCrosshairs) +
                            "select adjustment.16300 1\nslide adjustment.16301 100\n"
                            "type adjustment.16310 7\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.HasInOrder({"camera: Crosshairs.Y = 100", "camera: Crosshairs.Y = 7"}));
    EXPECT_EQ(run.LastDump()["camera"]["properties"]["Crosshairs.Y"], 7);
}

}  // namespace
}  // namespace host_test
