// Opening camera ports from the Settings page, with the traced port changes and the stored row.
#include <fstream>

#include "HostRun.h"

namespace host_test {
namespace {

using CameraPortTest = HostTest;

TEST_F(CameraPortTest, OpeningAPortIsTracedAndItsRowStored) {
    const HostRun run = Run("select settings.16315 1\ndump\nselect settings.16315 2\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.HasInOrder(
        {"host: dialog added", "camera: open 0", "debug: Port is ====================== 1", "dump",
         "camera: close 0", "camera: open 1", "debug: Port is ====================== 2",
         "host: profile Setups\\Default\\Ambrel Control Port = 2", "host: dialog removed",
         "camera: close 1"}));
    // The camera offers image geometry and exposure, so those tabs follow the port.
    const auto& dump = run.LastDump();
    EXPECT_EQ(dump["camera"]["port"], 0);
    EXPECT_EQ(dump["tabs"]["items"], (nlohmann::ordered_json{"Settings", "Image", "Exposure"}));
    EXPECT_EQ(ControlOf(dump, "settings", 16315)["selected"], 1);
    ExpectGolden("open-port.trace", run.Events());
}

TEST_F(CameraPortTest, PortThatFailsToOpenFallsBackToNotSelected) {
    // Port 1 of the faulty model has no description, so port 2 is values row 2.
    const HostRun run = Run("select settings.16315 2\ndump\n", {"--camera", Camera("faulty.json")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(
        run.HasInOrder({"camera: open 2 failed 5",
                        "debug: =================Open Port Error:No camera answers on CL port 2 "
                        "(simulated)(5) =======",
                        "debug: Port is ====================== 0", "dump",
                        "host: profile Setups\\Default\\Ambrel Control Port = 0"}));
    EXPECT_EQ(run.Count("camera: close 2"), 0);
    const auto& dump = run.LastDump();
    EXPECT_EQ(dump["camera"]["port"], -1);
    EXPECT_EQ(ControlOf(dump, "settings", 16315)["selected"], 0);
    EXPECT_EQ(dump["tabs"]["items"], (nlohmann::ordered_json{"Settings"}));
    ExpectGolden("failing-port.trace", run.Events());
}

TEST_F(CameraPortTest, TraceShowsCorrectionsAndTheScan) {
    const HostRun run =
        Run("select settings.16315 1\ntab Image\ntype image.16323 100\n"
            "key image.16323 tab\n");
    ASSERT_EQ(run.status, 0) << run.err;
    // Each property name the controller scans is a debugger line of its own.
    EXPECT_NE(run.out.find("\ndebug: Window.Mode\n"), std::string::npos);
    // The full window leaves the offset no room: the camera holds 0.
    EXPECT_TRUE(run.HasInOrder({"camera: Window.X = 0"})) << run.Events();
}

TEST_F(CameraPortTest, CameraChangedBehindThePluginsBackShowsAfterARefresh) {
    const HostRun run =
        Run("select settings.16315 1\ncamera set DigitalGain 2\ncamera get DigitalGain\n"
            "select settings.16316 4\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    // Not a write of the plug-in's: no camera line for it.
    EXPECT_EQ(run.Count("camera: DigitalGain = 2"), 0);
    EXPECT_TRUE(run.HasInOrder({"DigitalGain = 2"}));
    const auto& values = ControlOf(run.LastDump(), "settings", 16315);
    EXPECT_EQ(values["rows"][values["selected"].get<int>()][1], 2) << values;
}

TEST_F(CameraPortTest, ModelsWindowModesSetTheWindowSize) {
    const std::string model = (Dir() / "large.json").string();
    std::ofstream(model) << R"({"cameras": {"large": {"properties": [
        {"name": "Window.Mode", "type": "int", "value": 0, "min": 0, "max": 3},
        {"name": "Window.W", "type": "int", "value": 2048, "min": 1, "max": 2048},
        {"name": "Window.H", "type": "int", "value": 2048, "min": 1, "max": 2048}],
        "window_modes": [[2048, 2048], [2048, 1024], [2048, 512], [1024, 1024]]}},
        "ports": [{"description": "P0", "camera": "large"}]})";
    const HostRun run =
        Run("camera set Window.Mode 1\ncamera get Window.H\ncamera set Window.Mode 0\n"
            "camera get Window.W\ncamera get Window.H\n",
            {"--camera", model});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.HasInOrder({"Window.H = 1024", "Window.W = 2048", "Window.H = 2048"}))
        << run.Events();
}

TEST_F(CameraPortTest, CheckCameraExitsWithTheFirstError) {
    EXPECT_EQ(RunRaw({"--check-camera", Camera("faulty.json")}).status, 0);
    const std::string file = (Dir() / "bad.json").string();
    const struct {
        std::string model;
        std::string error;
    } cases[] = {
        {R"({"ports": [], "ports": []})", "$.ports: duplicate key"},
        {R"({"ports": [{"description": )" + std::string(50000, '[') + std::string(50000, ']') +
             "}]}",
         "$.ports[0].description[0][0]"},
    };
    for (const auto& c : cases) {
        std::ofstream(file, std::ios::trunc) << c.model;
        const HostRun run = RunRaw({"--check-camera", file});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("ambrel-host: " + file + ": " + c.error, 0), 0u) << run.err;
        EXPECT_LT(run.err.size(), 600u);
    }
}

}  // namespace
}  // namespace host_test
