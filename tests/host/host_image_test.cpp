// The Image page and the window mode as a person uses them, with what the host is told: window
// modes while grabbing, offsets typed and spun, Apply with decimation, "Max ROI", host lock.
#include "HostRun.h"

namespace host_test {
namespace {

using ImageTest = HostTest;

constexpr const char* kOpen = "select settings.16315 1\n";
// Window mode 512x512 leaves the offsets room to move.
constexpr const char* kSmallWindow = "select settings.16316 1\nselect settings.16315 3\n";

TEST_F(ImageTest, EachWindowModeWhileGrabbingSetsTheRegionBetweenTwoToggles) {
    std::string script = std::string(kOpen) + "host grab on\n";
    for (int row = 0; row < 4; ++row)
        script += "select settings.16316 1\nselect settings.16315 " + std::to_string(row) + "\n";
    const HostRun run = Run(script + "dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const char* sizes[] = {"1024 1024", "1024 512", "1024 256", "512 512"};
    for (int mode = 0; mode < 4; ++mode) {
        SCOPED_TRACE(mode);
        EXPECT_TRUE(
            run.HasInOrder({"camera: Window.Mode = " + std::to_string(mode), "host: grabbing off",
                            std::string("host: roi 0 0 ") + sizes[mode], "host: grabbing on"}));
    }
    const auto& dump = run.LastDump();
    EXPECT_EQ(dump["host"], nlohmann::ordered_json::parse(
                                R"({"roi":[0,0,512,512],"grabbing":true,"toggles":8})"));
    EXPECT_EQ(dump["camera"]["properties"]["Window.W"], 512);
    EXPECT_EQ(ControlOf(dump, "image", 16321)["text"], "512");
    ExpectGolden("window-modes-grabbing.trace", run.Events());
}

TEST_F(ImageTest, WindowModeWhileNotGrabbingSetsTheRegionWithoutToggles) {
    const HostRun run = Run(std::string(kOpen) + kSmallWindow + "dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.HasInOrder({"camera: Window.Mode = 3", "host: roi 0 0 512 512"}));
    EXPECT_EQ(run.Count("host: grabbing off"), 0);
    EXPECT_EQ(run.LastDump()["host"]["toggles"], 0);
}

TEST_F(ImageTest, OffsetsTypedAndSpun) {
    const HostRun run = Run(std::string(kOpen) + kSmallWindow +
                            "tab Image\n"
                            "type image.16323 100\nkey image.16323 tab\ndump\n"
                            "spin image.16328 up\n"
                            "type image.16323 600\nkey image.16323 tab\n"
                            "spin image.16329 up\nspin image.16329 up\nspin image.16329 down\n"
                            "dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    // X counts in steps of 32: 100 is written as 96; the spin steps it to 128; 600 is more
    // than the window leaves (1024 - 512) and is written as 512.
    EXPECT_TRUE(run.HasInOrder({"camera: Window.X = 96", "dump", "camera: Window.X = 128",
                                "camera: Window.X = 512", "camera: Window.Y = 1",
                                "camera: Window.Y = 2", "camera: Window.Y = 1"}));
    const auto& first = run.dumps.at(0);
    EXPECT_EQ(ControlOf(first, "image", 16323)["text"], "96");
    EXPECT_EQ(ControlOf(first, "image", 16328)["pos"], 3);
    const auto& last = run.LastDump();
    EXPECT_EQ(ControlOf(last, "image", 16323)["text"], "512");
    EXPECT_EQ(ControlOf(last, "image", 16324)["text"], "1");
    EXPECT_EQ(last["camera"]["properties"]["Window.X"], 512);
    EXPECT_EQ(last["camera"]["properties"]["Window.Y"], 1);
    ExpectGolden("offsets.trace", run.Events());
}

TEST_F(ImageTest, ApplyWithDecimationSetsTheHalvedRegion) {
    const HostRun run =
        Run(std::string(kOpen) + "tab Image\nselect image.16335 1\nclick image.16331\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.HasInOrder({"camera: Window.W = 1024", "camera: Window.H = 1024",
                                "camera: Decimation.Y = 2", "host: roi 0 0 1024 512"}));
    const auto& dump = run.LastDump();
    EXPECT_EQ(ControlOf(dump, "image", 16335)["selected"], 1);
    EXPECT_EQ(dump["camera"]["properties"]["Decimation.Y"], 2);
    ExpectGolden("apply-decimation.trace", run.Events());
}

TEST_F(ImageTest, MaxRoiWhileGrabbing) {
    const HostRun run = Run(std::string(kOpen) + kSmallWindow +
                            "host grab on\ntab Image\nselect image.16318 4\nclick image.16331\n"
                            "dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    // The command keeps its own value; the camera's window becomes the largest.
    EXPECT_TRUE(run.HasInOrder({"camera: Window.Max = 1 -> 0", "host: grabbing off",
                                "host: roi 0 0 1024 1024", "host: grabbing on"}));
    const auto& dump = run.LastDump();
    EXPECT_EQ(ControlOf(dump, "image", 16318)["selected"], 0);
    EXPECT_EQ(dump["camera"]["properties"]["Window.W"], 1024);
    EXPECT_EQ(dump["camera"]["properties"]["Window.H"], 1024);
    EXPECT_TRUE(dump["host"]["grabbing"].get<bool>());
    ExpectGolden("max-roi-grabbing.trace", run.Events());
}

TEST_F(ImageTest, HostLockDisablesGeometryAndPortButNotOffsets) {
    const HostRun run = Run(std::string(kOpen) + kSmallWindow +
                            "tab Image\nhost lock\ndump\n"
                            "spin image.16328 up\nhost unlock\nclick image.16331\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto& locked = run.dumps.at(0);
    for (const int id : {16331, 16321, 16322, 16326, 16327, 16335, 16318})
        EXPECT_FALSE(ControlOf(locked, "image", id)["enabled"].get<bool>()) << id;
    for (const int id : {16323, 16324, 16328, 16329})
        EXPECT_TRUE(ControlOf(locked, "image", id)["enabled"].get<bool>()) << id;
    EXPECT_FALSE(ControlOf(locked, "settings", 16315)["enabled"].get<bool>());
    EXPECT_FALSE(ControlOf(locked, "settings", 16316)["enabled"].get<bool>());

    const auto& unlocked = run.LastDump();
    EXPECT_TRUE(ControlOf(unlocked, "image", 16331)["enabled"].get<bool>());
    EXPECT_TRUE(ControlOf(unlocked, "settings", 16315)["enabled"].get<bool>());
    // Offsets still moved while locked; Apply ran once unlocked.
    EXPECT_TRUE(run.HasInOrder({"camera: Window.X = 32", "camera: Window.W = 512"}));
}

}  // namespace
}  // namespace host_test
