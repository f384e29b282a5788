// The command line: options and their errors, where the profile and the script come from, and
// the camera model.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "HostRun.h"

namespace host_test {
namespace {

using OptionsTest = HostTest;

TEST_F(OptionsTest, UnknownOptionIsNamedAndTheUsageShown) {
    const HostRun run = RunRaw({"--frobnicate"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("ambrel-host: unknown option: --frobnicate\nusage: ambrel-host", 0), 0u)
        << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(OptionsTest, ArgumentErrorsSayWhatIsWrong) {
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--setup"}, "option --setup needs a value"},
        {{"--camera="}, "option --camera needs a non-empty value"},
        {{"--trace=yes"}, "option --trace takes no value"},
        {{"stray"}, "unexpected argument: stray"},
        {{"--setup", "a\\b"}, "a setup name cannot hold a backslash: a\\b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const HostRun run = RunRaw(c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("ambrel-host: " + c.message + "\n", 0), 0u) << run.err;
    }
}

TEST_F(OptionsTest, HelpPrintsTheUsage) {
    const HostRun run = RunRaw({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("usage: ambrel-host", 0), 0u) << run.out;
}

TEST_F(OptionsTest, VersionPrintsTheProjectsVersion) {
    const HostRun run = RunRaw({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.starts_with("ambrel-host ") && run.out.ends_with("\n") &&
                run.out.find_first_not_of("0123456789.\n", 12) == std::string::npos)
        << run.out;
}

TEST_F(OptionsTest, BadCameraModelFileIsAClearErrorWithStatus2) {
    const std::string model = (Dir() / "bad.json").string();
    std::ofstream(model) << R"({"cameras": {}, "ports": [{"description": "p", "camera": "x"}]})";
    const HostRun run = Run("dump\n", {"--camera", model});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("ambrel-host: bad camera model file " + model + ": $.ports[0]", 0), 0u)
        << run.err;
    EXPECT_EQ(run.out, "");

    const HostRun missing = Run("dump\n", {"--camera", model + ".none"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(
        missing.err.rfind("ambrel-host: cannot read camera model file " + model + ".none: ", 0), 0u)
        << missing.err;
}

TEST_F(OptionsTest, CameraModelFileReplacesTheBuiltInCamera) {
    const HostRun run = Run("dump\n", {"--camera", Camera("minimal.json")});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto& properties = run.LastDump()["camera"]["properties"];
    EXPECT_FALSE(properties.contains("Crosshairs.X")) << properties;
    EXPECT_TRUE(properties.contains("ExposureTime")) << properties;
}

TEST_F(OptionsTest, InstalledCameraModelIsFoundByItsName) {
    for (const std::string name : {"minimal", "minimal.json"}) {
        const HostRun run = Run("dump\n", {"--camera", name});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_FALSE(run.LastDump()["camera"]["properties"].contains("Crosshairs.X")) << name;
    }
}

TEST_F(OptionsTest, MissingScriptFileIsAnError) {
    const HostRun run = RunRaw({"--profile", Profile(), "--script", "none.txt"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "ambrel-host: cannot read script none.txt\n");
}

TEST_F(OptionsTest, ScriptComesFromStandardInputWithDashOrWithoutTheOption) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--profile", Profile(), "--script", "-"},
          std::vector<std::string>{"--profile", Profile()}}) {
        const HostRun run = RunRaw(args, "camera get Window.Mode\nbogus\n");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "Window.Mode = 0\n");
        EXPECT_EQ(run.err, "ambrel-host: line 2: unknown action: bogus\n");
    }
}

#if defined(_WIN32)
TEST_F(OptionsTest, ProfileDefaultsToTheUsersApplicationDataFolder) {
    // There the store is a registry key named after the path, so only what it keeps shows
    // where it is.
    const std::string first = (Dir() / "first").string();
    const std::string second = (Dir() / "second").string();
    ASSERT_EQ(RunRaw({"--script", "-"}, "select settings.16315 1\n", {"APPDATA=" + first}).status,
              0);
    const HostRun other = RunRaw({"--script", "-"}, "dump\n", {"APPDATA=" + second});
    ASSERT_EQ(other.status, 0) << other.err;
    EXPECT_EQ(other.LastDump()["camera"]["port"], -1);
    const HostRun again = RunRaw({"--script", "-"}, "dump\n", {"APPDATA=" + first});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.LastDump()["camera"]["port"], 0);
    EXPECT_FALSE(std::filesystem::exists(Dir() / "first" / "ambrel"));
    for (const std::string& appData : {first, second})
        ForgetStore(appData + "\\ambrel\\profile.db");

    const HostRun nowhere = RunRaw({"--script", "-"}, "", {"APPDATA=", "USERPROFILE="});
    EXPECT_EQ(nowhere.status, 2);
    EXPECT_EQ(nowhere.err.rfind("ambrel-host: no place for the profile", 0), 0u) << nowhere.err;
}
#else
TEST_F(OptionsTest, ProfileDefaultsToTheUsersConfigFolder) {
    const HostRun home = RunRaw({"--script", "-"}, "select settings.16315 1\n");
    ASSERT_EQ(home.status, 0) << home.err;
    EXPECT_TRUE(std::filesystem::exists(Dir() / ".config" / "ambrel" / "profile.db"));

    const std::filesystem::path xdg = Dir() / "xdg";
    const HostRun config = RunRaw({"--script", "-"}, "dump\n", {"XDG_CONFIG_HOME=" + xdg.string()});
    ASSERT_EQ(config.status, 0) << config.err;
    EXPECT_TRUE(std::filesystem::exists(xdg / "ambrel" / "profile.db"));
    // A profile of its own: the port chosen under HOME is not there.
    EXPECT_EQ(config.LastDump()["camera"]["port"], -1);
}

// On Windows any path names a registry key of its own.
TEST_F(OptionsTest, ProfileThatCannotBeOpenedIsAnError) {
    const HostRun run = RunRaw({"--profile", Dir().string(), "--script", "-"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "ambrel-host: cannot open the profile " + Dir().string() + ": it is a folder\n");
    // A folder named for the profile is not made: only the default profile's is.
    const std::filesystem::path nowhere = Dir() / "no" / "such";
    const HostRun missing = RunRaw({"--profile", (nowhere / "p.db").string(), "--script", "-"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_FALSE(std::filesystem::exists(Dir() / "no"));
}

TEST_F(OptionsTest, ImportIntoTheDefaultProfileMakesItsFolder) {
    const std::string file = (Dir() / "p.reg").string();
    std::ofstream(file, std::ios::binary)
        << "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_CURRENT_USER\\Software\\Talverd\\Keltaro5\\Setups\\Default\\Ambrel Control]\n"
           "\"Port\"=dword:00000001\n";
    const HostRun imported = RunRaw({"--import-profile", file});
    ASSERT_EQ(imported.status, 0) << imported.err;
    const HostRun run = RunRaw({"--script", "-"}, "dump\n");
    EXPECT_EQ(run.LastDump()["camera"]["port"], 0);
}
#endif

// --calls: a line per camera-library call, in the order made (before the trace line a call leads
// to), a text the library answers kept to one line.
TEST_F(OptionsTest, CallsPrintsEveryLibraryCallInTheOrderMade) {
    const std::string model = (Dir() / "camera.json").string();
    std::ofstream(model) << R"({"cameras": {"c": {"properties": [
        {"name": "ExposureTime", "type": "real", "value": 10, "min": 0.01, "max": 1000}]}},
        "ports": [{"description": "two\nlines \\ here", "camera": "c"}]})";
    const HostRun run = Run("select settings.16315 1\n", {"--calls", "--camera", model});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.HasInOrder(
        {"call: pfGetNumPort() = 1", "call: pfGetPortInfo(0) = two\\x0Alines \\\\ here",
         "call: pfOpenPort(0, 0) = 0", "camera: open 0", "call: pfGetNumProperties(0) = 1",
         "call: pfGetPropertyInfo(0, 0) = ExposureTime", "call: pfClosePort(0) = 0"}))
        << run.out;

    const HostRun calls = Run("select settings.16315 1\n", {"--calls"}, false);
    std::istringstream lines(calls.out);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count)
        EXPECT_EQ(line.rfind("call: ", 0), 0u) << line;
    EXPECT_GT(count, 500);
}

}  // namespace
}  // namespace host_test
