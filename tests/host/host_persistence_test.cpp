// The chosen port kept in the profile: across a host reload, across two processes, per setup,
// and after a script that stopped at a bad line; the profile written to and read from a file, and
// never lost to a mistaken name.
#include <filesystem>
#include <fstream>

#include "HostRun.h"

namespace host_test {
namespace {

using PersistenceTest = HostTest;

TEST_F(PersistenceTest, ReloadSavesThePortAndTheNewModuleOpensItAgain) {
    const HostRun run = Run("select settings.16315 2\nhost reload\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(
        run.HasInOrder({"camera: open 1", "host: profile Setups\\Default\\Ambrel Control Port = 2",
                        "host: dialog removed", "camera: close 1", "host: dialog added",
                        "camera: open 1", "dump"}));
    const auto& dump = run.LastDump();
    EXPECT_EQ(dump["camera"]["port"], 1);
    EXPECT_EQ(ControlOf(dump, "settings", 16315)["selected"], 2);
    EXPECT_TRUE(dump["pages"]["dialog"]["shown"].get<bool>());
    ExpectGolden("reload.trace", run.Events());
}

TEST_F(PersistenceTest, SecondProcessOnTheSameProfileOpensTheStoredPort) {
    ASSERT_EQ(Run("select settings.16315 2\n").status, 0);
    const HostRun second = Run("dump\n");
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_TRUE(second.HasInOrder({"host: dialog added", "camera: open 1", "dump"}));
    const auto& dump = second.LastDump();
    EXPECT_EQ(dump["camera"]["port"], 1);
    EXPECT_EQ(dump["profile"]["Setups\\Default\\Ambrel Control"]["Port"], 2);
}

TEST_F(PersistenceTest, EachSetupKeepsItsOwnPort) {
    ASSERT_EQ(Run("select settings.16315 1\n", {"--setup", "Day 1"}).status, 0);
    ASSERT_EQ(Run("select settings.16315 2\n").status, 0);
    const HostRun day1 = Run("dump\n", {"--setup", "Day 1"});
    ASSERT_EQ(day1.status, 0) << day1.err;
    EXPECT_EQ(day1.LastDump()["camera"]["port"], 0);
    EXPECT_EQ(day1.LastDump()["profile"],
              nlohmann::ordered_json::parse(R"({"Setups\\Day 1\\Ambrel Control":{"Port":1},
                                                "Setups\\Default\\Ambrel Control":{"Port":2}})"));
}

TEST_F(PersistenceTest, PortIsSavedEvenWhenTheScriptStopsAtABadLine) {
    const HostRun bad = Run("select settings.16315 2\nbogus\n");
    EXPECT_EQ(bad.status, 2);
    const HostRun next = Run("dump\n");
    ASSERT_EQ(next.status, 0) << next.err;
    EXPECT_EQ(next.LastDump()["camera"]["port"], 1);
}

TEST_F(PersistenceTest, ExportedProfileImportedIntoAFreshOneGivesTheSameDump) {
    ASSERT_EQ(Run("select settings.16315 1\n", {"--setup", "Lab [2] \"x\" ; y"}).status, 0);
    ASSERT_EQ(Run("select settings.16315 2\n").status, 0);
    const HostRun before = Run("dump\n", {}, false);
    ASSERT_EQ(before.status, 0) << before.err;
    const std::string file = (Dir() / "profile.reg").string();
    const HostRun exported = RunRaw({"--profile", Profile(), "--export-profile", file});
    ASSERT_EQ(exported.status, 0) << exported.err;
    ForgetProfile();
    const HostRun imported = RunRaw({"--profile", Profile(), "--import-profile", file});
    ASSERT_EQ(imported.status, 0) << imported.err;
    const HostRun after = Run("dump\n", {}, false);
    ASSERT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(after.LastDump(), before.LastDump());
    EXPECT_EQ(after.LastDump()["profile"].size(), 2u);
}

TEST_F(PersistenceTest, BadProfileFileChangesNothingAndNamesItsLine) {
    ASSERT_EQ(Run("select settings.16315 2\n").status, 0);
    const std::string file = (Dir() / "bad.reg").string();
    std::ofstream(file, std::ios::binary)
        << "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_CURRENT_USER\\Software\\Talverd\\Keltaro5\\Setups\\Default\\Ambrel Control]\n"
           "\"Port\"=dword:00000000\n"
           "\"Other\"=hex:0g\n";
    const HostRun bad = RunRaw({"--profile", Profile(), "--import-profile", file});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("line 5:"), std::string::npos) << bad.err;
    const std::string missing = (Dir() / "none.reg").string();
    EXPECT_EQ(RunRaw({"--profile", Profile(), "--import-profile", missing}).status, 2);
    EXPECT_EQ(
        RunRaw({"--profile", Profile(), "--export-profile", file, "--import-profile", file}).status,
        2);
    const HostRun after = Run("dump\n", {}, false);
    ASSERT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(after.LastDump()["profile"]["Setups\\Default\\Ambrel Control"]["Port"], 2);
}

#if !defined(_WIN32)  // there the store is a registry key, not a file
TEST_F(PersistenceTest, NoFileNamedByMistakeDestroysTheProfile) {
    ASSERT_EQ(Run("select settings.16315 2\n").status, 0);
    for (const std::string& target : {Profile(), Profile() + "-wal"}) {
        const HostRun run = RunRaw({"--profile", Profile(), "--export-profile", target});
        EXPECT_EQ(run.status, 2) << target;
        EXPECT_NE(run.err.find("own store"), std::string::npos) << run.err;
    }
    const HostRun capture = Run("capture " + Profile() + "\n");
    EXPECT_EQ(capture.status, 2);
    EXPECT_NE(capture.err.find("line 1: cannot write the picture over the profile's store"),
              std::string::npos)
        << capture.err;
    const HostRun after = Run("dump\n", {}, false);
    ASSERT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(after.LastDump()["profile"]["Setups\\Default\\Ambrel Control"]["Port"], 2);

    // A mistyped profile is not exported as an empty one, nor made.
    const std::string typo = (Dir() / "profle.db").string();
    const std::string file = (Dir() / "p.reg").string();
    const HostRun exported = RunRaw({"--profile", typo, "--export-profile", file});
    EXPECT_EQ(exported.status, 2);
    EXPECT_NE(exported.err.find("there is no store there"), std::string::npos) << exported.err;
    EXPECT_FALSE(std::filesystem::exists(typo));
    EXPECT_FALSE(std::filesystem::exists(file));
    // Nor is an empty file taken for a new profile.
    std::ofstream(typo).flush();
    const HostRun empty = RunRaw({"--profile", typo, "--script", "-"}, "select settings.16315 1\n");
    EXPECT_EQ(empty.status, 2);
    EXPECT_NE(empty.err.find("empty (0 bytes)"), std::string::npos) << empty.err;
    EXPECT_EQ(std::filesystem::file_size(typo), 0u);
}

TEST_F(PersistenceTest, AFinishedRunLeavesTheProfileInItsOneFile) {
    ASSERT_EQ(Run("select settings.16315 1\n").status, 0);
    EXPECT_FALSE(std::filesystem::exists(Profile() + "-wal"));
    const std::string copy = (Dir() / "copy.db").string();
    std::filesystem::copy_file(Profile(), copy);
    const HostRun run = RunRaw({"--profile", copy, "--script", "-"}, "dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.LastDump()["camera"]["port"], 0);
}
#endif

}  // namespace
}  // namespace host_test
