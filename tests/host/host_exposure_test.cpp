// The Exposure page: exposure time set by its slider and by its edit, as the camera reads back.
#include "HostRun.h"

namespace host_test {
namespace {

using ExposureTest = HostTest;

constexpr const char* kExposure = "select settings.16315 1\ntab Exposure\n";

TEST_F(ExposureTest, SliderWritesThousandthsAndTheEditShowsTheCamerasValue) {
    const HostRun run = Run(std::string(kExposure) + "slide exposure.16328 123\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    // The camera keeps single precision; the trace shows the value, not its binary expansion.
    EXPECT_TRUE(run.HasInOrder({"camera: ExposureTime = 0.123", "dump"}));
    const auto& dump = run.LastDump();
    EXPECT_EQ(ControlOf(dump, "exposure", 16329)["text"], "0.123");
    EXPECT_EQ(ControlOf(dump, "exposure", 16328)["pos"], 123);
    EXPECT_EQ(dump["camera"]["properties"]["ExposureTime"].dump(), "0.123");
}

TEST_F(ExposureTest, EditWritesAsTypedKeyByKeyOrPastedAtOnce) {
    const HostRun run = Run(std::string(kExposure) +
                            "type exposure.16329 25\nkey exposure.16329 tab\ndump\n"
                            "paste exposure.16329 2.5\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    // Every keystroke changes the text, and every change is written.
    EXPECT_TRUE(run.HasInOrder({"camera: ExposureTime = 2", "camera: ExposureTime = 25", "dump",
                                "camera: ExposureTime = 2.5", "dump"}));
    const auto& typed = run.dumps.at(0);
    EXPECT_EQ(ControlOf(typed, "exposure", 16328)["pos"], 25000);
    // While the edit is the source, the page leaves its text as typed.
    EXPECT_EQ(ControlOf(typed, "exposure", 16329)["text"], "25");
    EXPECT_EQ(run.LastDump()["camera"]["properties"]["ExposureTime"], 2.5);
    ExpectGolden("exposure-edit.trace", run.Events());
}

TEST_F(ExposureTest, ConstantFrameRateEnablesFrameTime) {
    const HostRun run =
        Run(std::string(kExposure) + "click exposure.16330\nslide exposure.16331 40000\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.HasInOrder({"camera: Trigger.CFR = 1", "camera: FrameTime = 40"}));
    const auto& dump = run.LastDump();
    EXPECT_EQ(ControlOf(dump, "exposure", 16330)["checked"], 1);
    EXPECT_TRUE(ControlOf(dump, "exposure", 16332)["enabled"].get<bool>());
}

}  // namespace
}  // namespace host_test
