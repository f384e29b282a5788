// Failures the host must not hide: scripts and files it cannot read or that never end, line ends
// of every platform, writes the camera or the profile refused, output that cannot be written, a
// run ended by a signal, and a button held down when its window goes.
#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "HostRun.h"

namespace host_test {
namespace {

using FailureTest = HostTest;

TEST_F(FailureTest, EveryLineEndAndAByteOrderMarkReadAsThePlatformsEditorsWriteThem) {
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(end));
        const HostRun run =
            Run("\xEF\xBB\xBF"
                "camera get Window.Mode" +
                end + "# note" + end + "camera get Window.X" + end + "bogus" + end);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "ambrel-host: line 4: unknown action: bogus\n");
        EXPECT_TRUE(run.HasInOrder({"Window.Mode = 0", "Window.X = 0"}));
    }
}

TEST_F(FailureTest, AScriptThatCannotBeReadOrNeverEndsALineIsBadInput) {
    const HostRun folder = Run("", {"--script", Dir().string()});
    EXPECT_EQ(folder.status, 2);
    EXPECT_EQ(folder.err.rfind("ambrel-host: cannot read", 0), 0u) << folder.err;

    const HostRun endless = Run(std::string(70000, 'x') + "\ncamera get Window.Mode\n");
    EXPECT_EQ(endless.status, 2);
    EXPECT_EQ(endless.err, "ambrel-host: line 1: longer than 65536 bytes\n");
    EXPECT_EQ(endless.Count("Window.Mode = 0"), 0);
}

TEST_F(FailureTest, ABadLineIsQuotedOnlyInPart) {
    const HostRun run = Run("tab " + std::string(60000, 'y') + "\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_LT(run.err.size(), 300u);
    EXPECT_NE(run.err.find("no tab named yyy"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("(60013 bytes)"), std::string::npos) << run.err;
}

TEST_F(FailureTest, ControlBytesOfABadLineAreShownEscaped) {
    const HostRun run = Run(std::string("tab \x1b[2J\a") + std::string(1, '\0') + "\xc2\x9b\xff\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("tab named \\x1b[2J\\x07\\x00\\xc2\\x9b"), std::string::npos) << run.err;
}

TEST_F(FailureTest, AWriteTheCameraRefusesIsTracedAsRefused) {
    // The minimal camera lists no "StoreDefaults", yet the command is offered.
    const HostRun run =
        Run("select settings.16315 1\ntab Image\nselect image.16318 1\n"
            "click image.16331\n",
            {"--camera", Camera("minimal.json")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.Count("camera: StoreDefaults = 1 failed 103"), 1) << run.Events();
}

TEST_F(FailureTest, AFailedSizeReadIsShownAsTheFrameworksMessage) {
    const HostRun run = Run("select settings.16315 1\ntab Image\npaste image.16321 \"\"\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.Count("host: message Please enter an integer."), 1) << run.Events();
}

TEST_F(FailureTest, AProfileWriteTheStoreRefusesIsTracedAndTheRunFails) {
    // Key names hold at most 255 characters.
    const std::string setup(256, 's');
    const HostRun run = Run("select settings.16315 2\n", {"--setup", setup});
    EXPECT_EQ(run.status, 3);
    const std::string refused =
        "host: profile Setups\\" + setup + "\\Ambrel Control Port = 2 failed: ";
    const std::vector<std::string> lines = run.EventLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [&](const std::string& l) { return l.rfind(refused, 0) == 0; }),
              1)
        << run.Events();
#if !defined(_WIN32)
    EXPECT_EQ(run.Count(refused + "the store cannot hold the name (error 87)"), 1);
#endif
    EXPECT_EQ(run.err, "ambrel-host: the profile refused 1 write(s); what they stored is lost\n");
}

TEST_F(FailureTest, AButtonHeldWhenTheModuleIsReloadedIsLetGo) {
    const HostRun run =
        Run("select settings.16315 1\nselect settings.16316 3\nselect settings.16315 0\n"
            "tab Adjustment\npress adjustment.16304\nhost reload\nselect settings.16315 1\n");
    EXPECT_EQ(run.status, 0) << run.err;
}

#if !defined(_WIN32)
// The host through the shell, for redirections HostTest::Run does not make; the exit status.
int Shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST_F(FailureTest, StandardInputThatCannotBeReadAndOutputThatCannotBeWrittenFailTheRun) {
    const std::string host = std::string(AMBREL_HOST_PATH) + " --profile " + Profile();
    const std::string err = (Dir() / "err.txt").string();
    EXPECT_EQ(Shell(host + " --script - < " + Dir().string() + " 2>" + err + " >/dev/null"), 2);
    EXPECT_EQ(Shell(host + " --script /dev/zero >/dev/null 2>" + err), 2);
    EXPECT_EQ(Shell("echo dump | " + host + " --script - >/dev/full 2>" + err), 4);
    EXPECT_EQ(Shell("echo dump | " + host + " --script - >&- 2>" + err), 4);
    EXPECT_EQ(Shell(host + " --export-profile /dev/stdout >&- 2>/dev/null"), 4);
    EXPECT_EQ(Shell(host + " --export-profile /dev/stdout >/dev/full 2>/dev/null"), 4);
    std::ifstream in(err);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\nambrel-host: cannot write standard output: "), std::string::npos)
        << text;
}

// A folder, a device that never ends: each file option says so, and the run does nothing.
TEST_F(FailureTest, FilesThatAreFoldersOrNeverEndAreBadInput) {
    const std::string folder = Dir().string();
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--camera", folder, "--script", "-"}, "it is a folder"},
        {{"--check-camera", folder}, "it is a folder"},
        {{"--profile", Profile(), "--import-profile", folder}, "it is a folder"},
        {{"--camera", "/dev/zero", "--script", "-"}, "longer than 16777216 bytes"},
        {{"--check-camera", "/dev/zero"}, "longer than 16777216 bytes"},
        {{"--profile", Profile(), "--import-profile", "/dev/zero"}, "longer than 67108864 bytes"},
    };
    for (const auto& [args, why] : cases) {
        const HostRun run = RunRaw(args, "select settings.16315 1\n");
        EXPECT_EQ(run.status, 2) << args[1];
        EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
    }
}

// The port stored for the default setup, -1 when none is.
int StoredPort(const HostRun& run) {
    const auto& profile = run.LastDump()["profile"];
    const auto section = profile.find("Setups\\Default\\Ambrel Control");
    return section != profile.end() && section->contains("Port") ? (*section)["Port"].get<int>()
                                                                 : -1;
}

// Asked to end by a signal while it waits for input, or finding its output gone: the module is
// destroyed in order first (so the chosen port is stored), and the status says what happened.
TEST_F(FailureTest, ARunEndedBySignalOrLostOutputStillStoresThePort) {
    const std::string host = std::string(AMBREL_HOST_PATH) + " --profile " + Profile();
    const std::string out = (Dir() / "out.txt").string();
    const std::string fifo = (Dir() / "in").string();
    const std::pair<const char*, int> signals[] = {{"INT", 2}, {"TERM", 15}, {"HUP", 1}};
    for (const auto& [name, number] : signals) {
        ForgetProfile();
        // Input that stays open; the signal comes once the port is open. A background job starts
        // with SIGINT ignored, which the host would keep so.
        const int status = Shell(
            "mkfifo " + fifo + " && (env --default-signal " + host + " --trace <" + fifo + " >" +
            out + " 2>/dev/null & pid=$!; exec 3>" + fifo +
            "; echo 'select settings.16315 1' >&3; for i in $(seq 400); do grep -q 'open 0' " +
            out + " && break; sleep 0.05; done; kill -" + name +
            " $pid; wait $pid; s=$?; exec 3>&-; rm " + fifo + "; exit $s) 2>/dev/null");
        EXPECT_EQ(status, 128 + number) << name;
        EXPECT_EQ(StoredPort(Run("dump\n", {}, false)), 1) << name;
    }

    ForgetProfile();
    const std::string status = (Dir() / "status.txt").string();
    Shell("{ echo 'select settings.16315 1'; yes dump | head -n 500; } | (" + host +
          " --script - 2>/dev/null; echo $? >" + status + ") | head -c 10 >/dev/null");
    std::ifstream in(status);
    int code = -1;
    in >> code;
    EXPECT_EQ(code, 4);
    EXPECT_EQ(StoredPort(Run("dump\n", {}, false)), 1);
}
#endif

}  // namespace
}  // namespace host_test
