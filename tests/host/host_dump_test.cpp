// The state dump: its shape and key order, that equal states give equal text, and what it reads
// from the camera, the host and the profile.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "HostRun.h"

namespace host_test {
namespace {

using DumpTest = HostTest;

std::vector<std::string> Keys(const nlohmann::ordered_json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) keys.push_back(item.key());
    return keys;
}

std::vector<std::string> DumpLines(const HostRun& run) {
    std::vector<std::string> lines;
    std::istringstream in(run.out);
    for (std::string line; std::getline(in, line);)
        if (line.rfind('{', 0) == 0) lines.push_back(line);
    return lines;
}

TEST_F(DumpTest, ShapeWithoutAnOpenPort) {
    const HostRun run = Run("dump\n", {}, false);
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectGolden("dump-no-port.json", run.LastDump().dump(2) + "\n");
}

TEST_F(DumpTest, KeysComeInAFixedOrder) {
    const HostRun run = Run("select settings.16315 1\ndump\n", {}, false);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto& dump = run.LastDump();
    EXPECT_EQ(Keys(dump), (std::vector<std::string>{"tabs", "pages", "camera", "host", "profile"}));
    EXPECT_EQ(Keys(dump["tabs"]), (std::vector<std::string>{"items", "selected"}));
    EXPECT_EQ(Keys(dump["pages"]),
              (std::vector<std::string>{"dialog", "settings", "adjustment", "image", "exposure"}));
    EXPECT_EQ(Keys(dump["camera"]), (std::vector<std::string>{"port", "properties"}));
    EXPECT_EQ(Keys(dump["host"]), (std::vector<std::string>{"roi", "grabbing", "toggles"}));
    EXPECT_EQ(Keys(ControlOf(dump, "image", 16326)),
              (std::vector<std::string>{"kind", "text", "enabled", "visible", "range", "pos"}));
    EXPECT_EQ(Keys(ControlOf(dump, "settings", 16315)),
              (std::vector<std::string>{"kind", "text", "enabled", "visible", "rows", "selected"}));
    EXPECT_EQ(Keys(ControlOf(dump, "exposure", 16330)),
              (std::vector<std::string>{"kind", "text", "enabled", "visible", "checked"}));
    // Controls by id in increasing order, whatever their z-order.
    std::vector<int> ids;
    for (const auto& item : dump["pages"]["image"]["controls"].items())
        ids.push_back(std::stoi(item.key()));
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
}

TEST_F(DumpTest, EqualStatesGiveEqualText) {
    // Crosshairs on gives the adjustment list, whose rows carry pointers to the page's records.
    const std::string script =
        "select settings.16315 1\nselect settings.16316 3\nselect settings.16315 0\n"
        "tab Adjustment\ndump\ndump\n";
    const HostRun first = Run(script, {}, false);
    ASSERT_EQ(first.status, 0) << first.err;
    ForgetProfile();
    const HostRun second = Run(script, {}, false);
    ASSERT_EQ(second.status, 0) << second.err;

    const auto lines = DumpLines(first);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], lines[1]);
    EXPECT_EQ(DumpLines(second), lines);
    const auto& rows = ControlOf(first.LastDump(), "adjustment", 16300)["rows"];
    ASSERT_EQ(rows.size(), 3u) << rows;
    EXPECT_EQ(rows[0], (nlohmann::ordered_json{"Crosshairs X", "pointer"}));
}

TEST_F(DumpTest, ShowsCameraHostAndStoredProfile) {
    ASSERT_EQ(Run("select settings.16315 2\nhost grab on\n", {}, false).status, 0);
    const HostRun run = Run("dump\n", {}, false);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto& dump = run.LastDump();
    EXPECT_EQ(dump["camera"]["port"], 1);
    EXPECT_EQ(dump["camera"]["properties"]["Window.W"], 1024);
    EXPECT_EQ(dump["camera"]["properties"]["ExposureTime.Min"], 0.01);
    // Grabbing and the region belong to one run of the host.
    EXPECT_EQ(dump["host"],
              nlohmann::ordered_json::parse(R"({"roi":[0,0,0,0],"grabbing":false,"toggles":0})"));
    EXPECT_EQ(dump["profile"],
              nlohmann::ordered_json::parse(R"({"Setups\\Default\\Ambrel Control":{"Port":2}})"));
    EXPECT_EQ(dump["tabs"],
              nlohmann::ordered_json::parse(
                  R"({"items":["Settings","Image","Exposure"],"selected":"Settings"})"));
}

TEST_F(DumpTest, CameraValuesReadAsWritten) {
    const HostRun run =
        Run("camera set ExposureTime 0.123\ncamera get ExposureTime\ncamera set Window.W 512\n"
            "camera set Window.X 33\ncamera get Window.X\ndump\n",
            {}, false);
    ASSERT_EQ(run.status, 0) << run.err;
    // Without a port open, port 0's camera; Window.X snaps to its grid of 32.
    EXPECT_EQ(run.Events(), "ExposureTime = 0.123\nWindow.X = 32\ndump\n");
    EXPECT_EQ(run.LastDump()["camera"]["properties"]["ExposureTime"].dump(), "0.123");
}

// 20,000 camera properties and as many profile values dump whole (this took about 26 s a dump
// when building the objects was quadratic).
TEST_F(DumpTest, LargeCameraAndProfileDumpWhole) {
    constexpr int kCount = 20000;
    auto model = nlohmann::ordered_json::parse(std::ifstream(Camera("minimal.json")));
    auto& properties = model["cameras"]["minimal"]["properties"];
    std::string reg =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CURRENT_USER\\Software\\Talverd\\Keltaro5\\Large]\n";
    for (int i = 0; i < kCount; ++i) {
        // Appended, not `"P" + temporary`: GCC 12 at -O3 takes that for an overlapping copy.
        const std::string name = std::string("P").append(std::to_string(i));
        properties.push_back(
            {{"name", name}, {"type", "int"}, {"value", i}, {"min", 0}, {"max", i}});
        reg.append("\"").append(name).append("\"=dword:0000002a\n");
    }
    const std::string camera = (Dir() / "large.json").string();
    const std::string profile = (Dir() / "large.reg").string();
    std::ofstream(camera) << model.dump();
    std::ofstream(profile) << reg;
    ASSERT_EQ(RunRaw({"--profile", Profile(), "--import-profile", profile}).status, 0);

    m_parseDumps = false;
    const HostRun run = Run("dump\n", {"--camera", camera}, false);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"P19999\":19999}},\"host\""), std::string::npos);
    EXPECT_NE(run.out.find("\"Large\":{\"P0\":42,\"P1\":42,\"P10\":42"), std::string::npos);
}

TEST_F(DumpTest, WithoutTraceOnlyWhatTheScriptAsksIsPrinted) {
    const HostRun run = Run("select settings.16315 1\ncamera get Window.Mode\n", {}, false);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.Events(), "Window.Mode = 0\n");
}

}  // namespace
}  // namespace host_test
