// Loading the plug-in through its four exports, attaching its module, and the errors when the
// library or one of its exports is missing.
#include <fstream>

#include "HostRun.h"

namespace host_test {
namespace {

using LoaderTest = HostTest;

TEST_F(LoaderTest, PrintsThePluginsNamesToStandardError) {
    const HostRun run = Run("", {}, false);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.banner.rfind("plug-in: Ambrel Control\n"
                               "file: AmbrelControl.dll\n"
                               "description:\n"
                               "Ambrel Control Module.\n",
                               0),
              0u)
        << run.banner;
    // The description's CR LF line ends come out as plain line ends, then one empty line.
    EXPECT_TRUE(run.banner.ends_with("\nThis module is used to control Ambrel camera.\n\n"))
        << run.banner;
    EXPECT_EQ(run.banner.find('\r'), std::string::npos);
    EXPECT_EQ(run.err, "");
}

TEST_F(LoaderTest, DocksTheDialogOnAttachAndTakesItBackWhenTheModuleIsDestroyed) {
    const HostRun run = Run("dump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    // No port stored: row 0 ("Not selected") is applied, and saved again at the end.
    EXPECT_EQ(run.Events(),
              "host: dialog added\n"
              "debug: Port is ====================== 0\n"
              "dump\n"
              "host: profile Setups\\Default\\Ambrel Control Port = 0\n"
              "host: dialog removed\n");
    const auto& dump = run.LastDump();
    EXPECT_TRUE(dump["pages"]["dialog"]["shown"].get<bool>());
    EXPECT_TRUE(dump["pages"]["settings"]["shown"].get<bool>());
}

TEST_F(LoaderTest, MissingLibraryIsNamedWithStatus2) {
    const HostRun run = RunRaw({"--plugin", "nowhere/AmbrelControl.so", "--profile", Profile()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "ambrel-host: plug-in library not found: nowhere/AmbrelControl.so\n");
    EXPECT_EQ(run.out, "");
}

TEST_F(LoaderTest, LibraryWithoutInitializeIsRefused) {
    const std::string plugin = BuildPath(AMBREL_NOINIT_PLUGIN);
    const HostRun run = RunRaw({"--plugin", plugin, "--profile", Profile()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "ambrel-host: plug-in library " + plugin + " does not export Initialize\n");
    EXPECT_EQ(run.out, "");
}

TEST_F(LoaderTest, FileThatIsNoLibraryIsRefused) {
    const std::string fake = (Dir() / "fake.so").string();
    std::ofstream(fake) << "not a shared object\n";
    const HostRun run = RunRaw({"--plugin", fake, "--profile", Profile()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("ambrel-host: cannot load plug-in library " + fake + ": ", 0), 0u)
        << run.err;
}

TEST_F(LoaderTest, FolderIsRefused) {
    const HostRun run = RunRaw({"--plugin", Dir().string(), "--profile", Profile()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("is a folder"), std::string::npos) << run.err;
}

TEST_F(LoaderTest, InitializeWithoutAModuleIsAFailure) {
    const HostRun run = RunRaw(
        {"--plugin", BuildPath(AMBREL_NULLMODULE_PLUGIN), "--profile", Profile(), "--trace"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.banner.rfind("plug-in: Broken\nfile: Broken.dll\n", 0), 0u) << run.banner;
    EXPECT_EQ(run.err, "ambrel-host: the plug-in's Initialize made no module\n");
    EXPECT_EQ(run.out, "");
}

TEST_F(LoaderTest, ModuleWithoutADialogAttachesAndIsDestroyed) {
    const HostRun run =
        RunRaw({"--plugin", BuildPath(AMBREL_HELLO_PLUGIN), "--profile", Profile(), "--trace"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.banner.rfind("plug-in: Hello\nfile: hello-module\n", 0), 0u) << run.banner;
    EXPECT_EQ(run.Events(), "debug: Hello module attached\n");
    EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace host_test
