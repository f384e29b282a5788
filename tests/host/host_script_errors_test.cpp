// Bad scripts: every kind of error stops the run at its line with status 2 and a message naming
// the line and the reason, runs nothing of that line, and keeps everything before it.
#include <map>

#include "HostRun.h"

namespace host_test {
namespace {

using ScriptErrorTest = HostTest;

struct BadLine {
    const char* before;  // lines that run first
    const char* line;
    const char* reason;
};

// Open a port and show a page, so that its controls are there for a person to use.
constexpr const char* kOpen = "select settings.16315 1\n";
constexpr const char* kImage = "select settings.16315 1\ntab Image\n";
constexpr const char* kExposure = "select settings.16315 1\ntab Exposure\n";
constexpr const char* kAdjustment =
    "select settings.16315 1\nselect settings.16316 3\nselect settings.16315 0\ntab Adjustment\n";

const BadLine kBadLines[] = {
    {"", "jump settings.16315", "unknown action: jump"},
    {kOpen, "select settings.16315",
     "wrong number of arguments for select (usage: select PAGE.ID ROW)"},
    {kOpen, "click image.16331 now", "wrong number of arguments for click (usage: click PAGE.ID)"},
    {kOpen, "dump all", "wrong number of arguments for dump (usage: dump)"},
    {kOpen, "select preview.16315 0",
     "unknown page: preview (dialog, settings, adjustment, image or exposure)"},
    {kOpen, "click settings16315", "not a control (PAGE.ID): settings16315"},
    {kOpen, "click settings.x", "not a control id: settings.x"},
    {kOpen, "click settings.16399", "no such control: settings.16399"},
    {kOpen, "select settings.16315 one", "not a row number (0 or more): one"},
    {kOpen, "select settings.16315 -1", "not a row number (0 or more): -1"},
    {kOpen, "select settings.16315 3", "out of range: settings.16315 row 3"},
    {kExposure, "slide exposure.16328 5", "out of range: exposure.16328 position 5"},
    {kExposure, "slide exposure.16328 fast", "not a slider position: fast"},
    {kImage, "host lock\nclick image.16331", "control is disabled: image.16331"},
    {kExposure, "type exposure.16332 30", "control is disabled: exposure.16332"},
    {kOpen, "click image.16331", "control is hidden: image.16331"},
    {kImage, "select image.16331 0", "wrong kind of control: image.16331"},
    {kImage, "slide image.16321 3", "wrong kind of control: image.16321"},
    {kImage, "key image.16323 space", "unknown key: space (enter, tab or escape)"},
    {kImage, "spin image.16328 left", "unknown spin arrow: left (up or down)"},
    {kAdjustment, "release adjustment.16304", "button is not pressed: adjustment.16304"},
    // One mouse: while its button is held on one control, nothing else can be clicked.
    {kAdjustment, "press adjustment.16304\ntab Settings",
     "mouse button is held down: tab Settings"},
    {kAdjustment, "press adjustment.16304\nclick adjustment.16305",
     "mouse button is held down: adjustment.16305"},
    {"", "tab Image", "no tab named Image"},
    {kOpen, "tab", "wrong number of arguments for tab (usage: tab TEXT)"},
    {kImage, "type image.16323 \"12", "quoted text without its closing quote"},
    {kImage, "type image.16323 \"12\"3", "text after a closing quote"},
    {kOpen, "wait -5", "not a time in milliseconds (0 to 86400000): -5"},
    {kOpen, "host grab maybe", "host grab takes on or off, not maybe"},
    {kOpen, "host fly", "unknown host action: fly"},
    {kOpen, "host lock now", "wrong number of arguments for host lock (usage: host lock)"},
    {kOpen, "camera get Window.Nope", "the camera on port 0 has no property Window.Nope"},
    {kOpen, "camera set Window.Mode 1.5", "Window.Mode takes a whole number (32-bit), not 1.5"},
    {kOpen, "camera set ExposureTime nan", "ExposureTime takes a number, not nan"},
    {kOpen, "camera open 1", "unknown camera action: open"},
    {kOpen, "capture", "wrong number of arguments for capture (usage: capture FILE)"},
    {kOpen, "capture \"\"", "capture needs a file name"},
    {kOpen, "capture nowhere/view.png", "cannot write the picture nowhere/view.png"},
};

int LineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(ScriptErrorTest, EachErrorNamesItsLineRunsNothingOfItAndKeepsWhatCameBefore) {
    // What the lines before the bad one do on their own, once per distinct start.
    std::map<std::string, std::string> alone;
    for (const BadLine& bad : kBadLines) {
        SCOPED_TRACE(bad.line);
        const std::string script = std::string(bad.before) + bad.line + "\n";
        // A line after the bad one shows that the run stops.
        ForgetProfile();
        const HostRun run = Run(script + "camera get Window.Mode\n");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "ambrel-host: line " + std::to_string(LineCount(script)) + ": " +
                               bad.reason + "\n");

        const std::string lastLine = script.substr(script.rfind('\n', script.size() - 2) + 1);
        const std::string before = script.substr(0, script.size() - lastLine.size());
        if (!alone.count(before)) {
            ForgetProfile();
            const HostRun reference = Run(before);
            ASSERT_EQ(reference.status, 0) << reference.err;
            alone[before] = reference.Events();
        }
        // The module is still destroyed properly: its port is saved and the port closed.
        EXPECT_EQ(run.Events(), alone[before]);
    }
}

TEST_F(ScriptErrorTest, CommentsAndBlankLinesCountInLineNumbers) {
    const HostRun run =
        Run("# a comment\n\n   \ncamera get Window.Mode # trailing comment\n"
            "bogus\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "ambrel-host: line 5: unknown action: bogus\n");
    EXPECT_TRUE(run.HasInOrder({"Window.Mode = 0"}));
}

TEST_F(ScriptErrorTest, ReleaseIsAcceptedForAButtonThatDisabledItselfWhileHeld) {
    // ">" held from 1020 steps up to the maximum and disables itself; the mouse goes up anyway,
    // and a person cannot be refused letting go.
    const HostRun run = Run(std::string(kAdjustment) +
                            "select adjustment.16300 0\npaste adjustment.16310 1020\n"
                            "key adjustment.16310 enter\npress adjustment.16304\nwait 2000\n"
                            "release adjustment.16304\ntab Settings\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto& step = run.LastDump()["pages"]["adjustment"]["controls"]["16304"];
    EXPECT_FALSE(step["enabled"].get<bool>());
    EXPECT_EQ(run.LastDump()["camera"]["properties"]["Crosshairs.X"].get<int>(), 1023);
    EXPECT_EQ(run.LastDump()["tabs"]["selected"].get<std::string>(), "Settings");
}

}  // namespace
}  // namespace host_test
