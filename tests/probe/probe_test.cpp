// The inspector's facts on the shipped camera models and on hostile ones: tabs, options,
// missing properties and their effects, guarded answers, call counts, and --actions putting
// every value back.
#include <gtest/gtest.h>
#include <sim/CameraSim.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "AmbrelController.h"
#include "CallMeter.h"
#include "CommandLine.h"
#include "DialogClicks.h"
#include "Probe.h"
#include "RefreshCost.h"
#include "Report.h"
#include "WindowGeometry.h"

namespace {

using inspect::PortFact;
using inspect::Report;
using Strings = std::vector<std::string>;
using WStrings = std::vector<std::wstring>;

std::string ModelPath(const std::string& name) {
    if (std::filesystem::path(name).is_absolute()) return name;
    if (name.find('/') != std::string::npos) return std::string(AMBREL_SOURCE_DIR "/") + name;
    return std::string(AMBREL_SOURCE_DIR "/tests/probe/") + name;
}

// A scratch file's path, apart from those of other builds running the same test.
std::string Scratch(const std::string& name) {
#if defined(_WIN32)
    return ::testing::TempDir() + name;
#else
    return ::testing::TempDir() + std::to_string(::getpid()) + "-" + name;
#endif
}

// Whether this build clicks through the dialog (it must be able to watch the library's calls).
bool Clicks() {
    return inspect::meter::Available() && inspect::DialogClicks::Available();
}

class Inspect : public ::testing::Test {
protected:
    void TearDown() override { pfsim::LoadDefaultModel(); }

    // Loads the model as the command line does and inspects it.
    static Report Run(const std::string& model, bool actions = false) {
        inspect::CommandLine line;
        line.cameraFile = ModelPath(model);
        line.options.actions = actions;
        std::string error;
        EXPECT_TRUE(inspect::PrepareCamera(line, error)) << error;
        return inspect::Inspect(line.options);
    }
    static Report Again(bool actions = false) {
        inspect::InspectOptions options;
        options.actions = actions;
        return inspect::Inspect(options);
    }
};

Strings MissingOf(const PortFact& port) {
    Strings names;
    for (const auto& m : port.missing) names.push_back(m.property);
    return names;
}

std::set<std::string> WarnedOf(const PortFact& port) {
    std::set<std::string> names;
    for (const auto& w : port.warnings) names.insert(w.property);
    return names;
}

const inspect::ActionCost* Action(const PortFact& port, const std::string& name) {
    for (const auto& a : port.cost.actions)
        if (a.action == name) return &a;
    return nullptr;
}

TEST_F(Inspect, FullyEquippedCameraMissesNothing) {
    const Report report = Run("sim/cameras/full.json");
    ASSERT_EQ(report.ports.size(), 2u);
    const PortFact& port = report.ports[0];
    EXPECT_TRUE(port.opened);
    EXPECT_EQ(port.label, L"CL port 0 (simulated)");
    // Crosshairs are off in the model, so the Adjustment page has nothing to list.
    EXPECT_EQ(port.tabs, (WStrings{L"Settings", L"Image", L"Exposure"}));
    EXPECT_TRUE(port.missing.empty());
    EXPECT_TRUE(port.unused.empty());
    EXPECT_TRUE(port.warnings.empty());
    ASSERT_EQ(port.settings.size(), 8u);
    EXPECT_EQ(port.settings[0].name, L"Decimation Y");
    EXPECT_EQ(port.settings[0].page, L"Image");
    const auto& window = port.settings[1];
    ASSERT_EQ(window.options.size(), 4u);
    EXPECT_EQ(window.options[3].label, L"512x512");
    EXPECT_EQ(window.options[3].value, 3);
    EXPECT_EQ(port.commands.size(), 4u);
    ASSERT_EQ(port.adjustments.size(), 2u);
    const auto& exposure = port.adjustments[0];
    EXPECT_EQ(exposure.page, L"Exposure");
    EXPECT_EQ(exposure.sliderScale, 1000);
    EXPECT_EQ(exposure.slider, (slider::SliderSetting{10, 1000000, 10000}));
    EXPECT_TRUE(port.geometry.editable);
    EXPECT_EQ(port.geometry.x.maximum, 1024);
    EXPECT_EQ(port.geometry.decimationValues, (std::vector<int32_t>{1, 2, 3, 4}));
}

// A Refresh of the camera with crosshairs on costs what the feature table makes it; opening
// the port through the dialog costs more: the pages read back on top of it.
TEST_F(Inspect, CallCountsAreThePinnedOnes) {
    pfsim::LoadDefaultModel();
    ASSERT_TRUE(pfsim::SetProperty(0, "Crosshairs.Enable", 1));
    const uint64_t refresh = refreshcost::OfRefresh(0).Total();
    const Report report = Again(true);
    const PortFact& port = report.ports[0];
    if (!port.cost.counted) GTEST_SKIP() << "this build does not count library calls";
    EXPECT_EQ(port.tabs, (WStrings{L"Settings", L"Adjustment", L"Image", L"Exposure"}));
    EXPECT_EQ(port.cost.refreshCalls, refresh);
    ASSERT_NE(Action(port, "open_port"), nullptr);
    EXPECT_GT(Action(port, "open_port")->calls, refresh);
}

// The counting layer sees the calls the library sees, and each property call's characters are
// those of the simulated link delay: the logged arguments after the port, one separator between
// them, the answer, two framing characters around each side.
TEST_F(Inspect, CountingLayerAgreesWithTheLibrary) {
    if (!inspect::meter::Available()) GTEST_SKIP() << "this build does not count library calls";
    pfsim::LoadDefaultModel();
    pfsim::EnableCallLog(true);
    CAmbrelController ctl;
    ctl.Refresh();
    inspect::meter::Reset();
    pfsim::ClearCallLog();
    ctl.SetSetting(kIdPort, 0);
    ctl.SetSetting(kIdWindow, 1);
    ctl.SetAdjustmentReal(kIdExposureTime, 12.5);
    window::ReadAxis(ctl, true);

    std::vector<uint32_t> logged;
    for (const pfsim::Call& call : pfsim::CallLog()) {
        if (call.op == "pfGetNumPort" || call.op == "pfGetPortInfo" || call.op == "pfOpenPort" ||
            call.op == "pfClosePort" || call.op == "pfGetErrorMsg")
            continue;
        size_t chars = 4 + call.result.size();
        for (size_t i = 1; i < call.args.size(); ++i) chars += call.args[i].size() + (i > 1);
        logged.push_back(static_cast<uint32_t>(chars));
    }
    const inspect::CallTally tally = inspect::meter::Tally();
    EXPECT_EQ(tally.calls, pfsim::TotalCallCount());
    EXPECT_EQ(tally.linkChars, logged);
}

TEST_F(Inspect, LinkTimeAtTheModelsBaudRate) {
    if (!inspect::meter::Available()) GTEST_SKIP() << "this build does not count library calls";
    const Report report = Run("window-only.json");
    const PortFact& port = report.ports[0];
    EXPECT_EQ(port.cost.baud, 9600);
    ASSERT_TRUE(port.cost.refreshLinkMs.has_value());
    EXPECT_GT(*port.cost.refreshLinkMs, 1000.0);
    inspect::CallTally one;
    one.linkChars = {18};  // reading "ExposureTime" answering "10"
    EXPECT_DOUBLE_EQ(inspect::LinkMilliseconds(one, 9600), 18.75);
}

TEST_F(Inspect, MinimalCameraNamesEveryFeatureItCannotOffer) {
    const Report report = Run("sim/cameras/minimal.json");
    const PortFact& port = report.ports[0];
    EXPECT_EQ(port.tabs, (WStrings{L"Settings", L"Image", L"Exposure"}));
    EXPECT_EQ(MissingOf(port),
              (Strings{"Window.Mode", "Correction.Mode", "Crosshairs.Enable", "DigitalGain",
                       "Trigger.Source", "Trigger.CFR", "Trigger.Interleave", "FrameTime",
                       "Decimation.Y", "StoreDefaults", "FactoryReset", "Reset", "Window.Max"}));
    const auto cfr = std::find_if(port.missing.begin(), port.missing.end(),
                                  [](const auto& m) { return m.property == "Trigger.CFR"; });
    EXPECT_EQ(cfr->effect,
              L"no Constant Frame Rate check box; the frame-time controls stay disabled");
}

TEST_F(Inspect, HostileCameras) {
    EXPECT_TRUE(Run("no-ports.json").ports.empty());

    const Report failing = Run("fails-to-open.json");
    ASSERT_EQ(failing.ports.size(), 1u);
    EXPECT_FALSE(failing.ports[0].opened);
    EXPECT_EQ(failing.ports[0].errorCode, 5);
    EXPECT_EQ(failing.ports[0].errorMessage, L"No camera answers on CL port 0");
    EXPECT_EQ(failing.ports[0].tabs, (WStrings{L"Settings"}));

    const PortFact window = Run("window-only.json").ports[0];
    EXPECT_EQ(window.tabs, (WStrings{L"Settings", L"Image"}));
    EXPECT_TRUE(window.geometry.editable);
    EXPECT_FALSE(window.geometry.decimation);
    const Strings missing = MissingOf(window);
    EXPECT_NE(std::find(missing.begin(), missing.end(), "ExposureTime"), missing.end());
    EXPECT_EQ(std::find(missing.begin(), missing.end(), "Window.W"), missing.end());
}

TEST_F(Inspect, EveryGuardedAnswerIsNamed) {
    const Report report = Run("guarded.json");
    ASSERT_EQ(report.ports.size(), 2u);
    std::set<std::string> expected{
        "port description", "row 0",         "DigitalGain",      "Crosshairs.X.Max",
        "Crosshairs.Y.Min", "Crosshairs.Y",  "Crosshairs.Value", "Decimation.Y.Max",
        "ExposureTime",     "FrameTime.Min", "FrameTime.Max"};
#if defined(_WIN32)
    // The system's code page converts every byte, so there no description fails to convert.
    expected.erase("port description");
#endif
    EXPECT_EQ(WarnedOf(report.ports[0]), expected);
    EXPECT_FALSE(report.ports[1].offered);
    EXPECT_TRUE(WarnedOf(report.ports[1]).count("port description"));
    EXPECT_EQ(report.ports[0].geometry.decimationValues.size(), 1024u);
}

std::map<std::string, std::optional<double>> Camera(int32_t port, const std::string& model) {
    std::ifstream file(ModelPath(model));
    const nlohmann::json json = nlohmann::json::parse(file);
    std::map<std::string, std::optional<double>> values;
    for (const auto& [name, camera] : json["cameras"].items()) {
        for (const auto& row : camera["properties"]) {
            if (!row.is_object()) continue;
            const std::string property = row["name"];
            values[property] = pfsim::GetProperty(port, property);
            if (row.value("limits", false)) {
                values[property + ".Min"] = pfsim::GetProperty(port, property + ".Min");
                values[property + ".Max"] = pfsim::GetProperty(port, property + ".Max");
            }
        }
    }
    return values;
}

// Clicking everything writes the camera (a window mode resets the window, a slider end moves the
// value); afterwards every property holds what it held before, but for those whose reads do not
// show what they hold, which are named instead.
TEST_F(Inspect, ActionsLeaveTheCameraAsTheyFoundIt) {
    if (!Clicks())
        GTEST_SKIP() << "this build makes no clicks: it cannot watch the library's calls";
    for (const auto& [model, unreadable] :
         std::vector<std::pair<std::string, std::set<std::string>>>{
             {"sim/cameras/full.json", {}},
             {"guarded.json", {"Crosshairs.Value", "ExposureTime"}}}) {
        SCOPED_TRACE(model);
        Run(model);
        pfsim::SetProperty(0, "Window.W", 512);
        pfsim::SetProperty(0, "Window.X", 64);
        pfsim::SetProperty(0, "ExposureTime", 10.0004);
        auto before = Camera(0, model);
        const Report report = Again(true);
        std::set<std::string> left;
        for (const auto& n : report.ports[0].notRestored) left.insert(n.property);
        EXPECT_EQ(left, unreadable);
        EXPECT_EQ(report.ports[0].restored, unreadable.empty());
        EXPECT_NE(Action(report.ports[0], "apply"), nullptr);
        auto after = Camera(0, model);
        for (const std::string& name : unreadable) before.erase(name), after.erase(name);
        EXPECT_EQ(after, before);
    }
}

// Many ports with long descriptions: each port costs the same number of the plug-in's refreshes
// however many ports there are, and no copy of the library's answers is kept (the library's own
// log once held every description of every refresh).
TEST_F(Inspect, EachPortCostsTheSameRefreshesAndNoAnswerIsKept) {
    const std::string file = ::testing::TempDir() + "many-ports.json";
    std::map<int, uint64_t> listings;
    for (const int ports : {2, 4, 6}) {
        nlohmann::json model = {{"cameras", {{"c", {{"properties", nlohmann::json::array()}}}}},
                                {"ports", nlohmann::json::array()}};
        model["cameras"]["c"]["properties"].push_back(
            {{"name", "ExposureTime"}, {"type", "real"}, {"value", 10}});
        for (int i = 0; i < ports; ++i)
            model["ports"].push_back({{"description", std::string(5000, 'x')}, {"camera", "c"}});
        std::ofstream(file) << model.dump();
        inspect::CommandLine line;
        line.cameraFile = file;
        std::string error;
        ASSERT_TRUE(inspect::PrepareCamera(line, error)) << error;
        inspect::Inspect(line.options);
        listings[ports] = pfsim::CallCount("pfGetNumPort");
        EXPECT_TRUE(pfsim::CallLog().empty());
    }
    EXPECT_EQ(listings[6] - listings[4], listings[4] - listings[2]);
}

// The dialog is clicked on one port, the one named or else the first that opens, unless every
// port is asked for; every port's other facts are those found when every port is clicked.
TEST_F(Inspect, DialogIsClickedOnOnePortUnlessEveryPortIsAsked) {
    if (!Clicks())
        GTEST_SKIP() << "this build makes no clicks: it cannot watch the library's calls";
    nlohmann::json model = {
        {"cameras",
         {{"c", {{"properties", {{{"name", "ExposureTime"}, {"type", "real"}, {"value", 10}}}}}}}},
        {"ports",
         {{{"description", "dead"}, {"open_error", {{"code", 5}, {"message", "no camera"}}}},
          {{"description", "first"}, {"camera", "c"}},
          {{"description", "second"}, {"camera", "c"}}}}};
    const std::string file = Scratch("three-ports.json");
    std::ofstream(file) << model.dump();
    auto inspect = [&](std::optional<int32_t> port, bool all) {
        inspect::CommandLine line;
        line.cameraFile = file;
        line.options.port = port;
        line.options.clickAllPorts = all;
        std::string error;
        EXPECT_TRUE(inspect::PrepareCamera(line, error)) << error;
        return inspect::Inspect(line.options);
    };
    // Each port's JSON without its costs.
    auto facts = [](const Report& report) {
        nlohmann::json ports = nlohmann::json::parse(inspect::ReportJson(report))["ports"];
        for (auto& port : ports) port.erase("cost");
        return ports;
    };
    const struct {
        std::optional<int32_t> port;
        bool all;
        std::vector<int32_t> clicked;
    } cases[] = {{std::nullopt, false, {1}},
                 {2, false, {2}},
                 {0, false, {0}},
                 {std::nullopt, true, {0, 1, 2}}};
    const Report everyPort = inspect(std::nullopt, true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port ? "port " + std::to_string(*c.port) : std::string("no port"));
        const Report report = inspect(c.port, c.all);
        std::vector<int32_t> clicked;
        for (const PortFact& port : report.ports) {
            if (port.clicked) clicked.push_back(port.index);
            EXPECT_EQ(Action(port, "open_port") != nullptr, port.clicked) << port.index;
        }
        EXPECT_EQ(clicked, c.clicked);
        if (!c.port) {
            EXPECT_EQ(facts(report), facts(everyPort));
        }
    }
    EXPECT_NE(inspect::ReportText(inspect(std::nullopt, false)).find("measured on port 1 only"),
              std::string::npos);
}

// What the library answers is reported as it is: a description that would break the line or the
// quotes is escaped, numbers that are not finite are named in JSON (null means not known), and a
// long list of names is shortened with its count.
TEST(InspectReport, AnswersAreShownAsTheyAre) {
    Report report;
    PortFact port;
    port.description = "two\nlines \"quoted\"";
    port.opened = true;
    inspect::AdjustmentFact exposure;
    exposure.minimum = -std::numeric_limits<double>::infinity();
    exposure.maximum = std::numeric_limits<double>::infinity();
    exposure.value = std::numeric_limits<double>::quiet_NaN();
    port.adjustments.push_back(exposure);
    for (int i = 0; i < 20; ++i) port.unused.push_back("Unused." + std::to_string(i));
    report.ports.push_back(port);

    const std::string text = inspect::ReportText(report);
    EXPECT_NE(text.find("Port 0: \"two\\nlines \\\"quoted\\\"\", opened\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Unused.11, ... (8 more, 20 in all)\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Unused.12"), std::string::npos);

    const nlohmann::json json = nlohmann::json::parse(inspect::ReportJson(report));
    const nlohmann::json& adjustment = json["ports"][0]["adjustments"][0];
    EXPECT_EQ(adjustment["min"], "-inf");
    EXPECT_EQ(adjustment["max"], "inf");
    EXPECT_EQ(adjustment["value"], "nan");
    EXPECT_EQ(json["ports"][0]["description"], "two\nlines \"quoted\"");
}

// The first line says whether the plug-in works, why not, and what is lost first; the exit
// status says the same.
TEST_F(Inspect, VerdictAndItsExitStatus) {
    const struct {
        std::string model;
        int status;
        std::wstring text;
    } cases[] = {
        {"sim/cameras/full.json", 0, L"port 0 works fully; port 1 works fully"},
        {"sim/cameras/minimal.json", 1,
         L"works with 13 feature(s) missing; first Window.Mode: no Window setting: the window "
         L"modes cannot be chosen"},
        {"fails-to-open.json", 2,
         L"does not work on this port: it does not open (error 5: No camera answers on CL port 0)"},
        {"no-ports.json", 2, L"does not work: the library offers no port"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        const Report report = Run(c.model);
        EXPECT_EQ(report.verdict.text, c.text);
        EXPECT_EQ(inspect::ExitStatus(report), c.status);
    }
}

// What the inspector reads and the dialog shows, against what the plug-in needs: a property the
// dialog writes that is read-only or has no value, an offset step other than the dialog's, a
// window mode whose label is not the size it leaves.
TEST_F(Inspect, WarnsOfAnswersThatDefeatTheDialog) {
    std::ifstream in(ModelPath("sim/cameras/full.json"));
    nlohmann::json model = nlohmann::json::parse(in);
    nlohmann::json& camera = model["cameras"]["full"];
    for (auto& row : camera["properties"]) {
        if (!row.is_object()) continue;
        if (row["name"] == "Window.W") row["value"] = 512;
        if (row["name"] == "Window.X") row["increment"] = 48, row["max"] = 960;
        if (row["name"] == "Trigger.Source") row["read_only"] = true;
        if (row["name"] == "Trigger.CFR") row = "Trigger.CFR";
    }
    camera["window_modes"] = {{512, 512}, {1024, 512}, {1024, 256}, {1024, 1024}};
    const std::string file = ::testing::TempDir() + "defeating.json";
    std::ofstream(file) << model.dump();
    const std::set<std::string> warned = WarnedOf(Run(file, true).ports[0]);
    for (const char* property : {"Trigger.Source", "Trigger.CFR"})
        EXPECT_TRUE(warned.count(property)) << property;
    if (!Clicks()) return;  // the offset step and the modes' sizes are seen from the clicks
    for (const char* property : {"Window.X", "Window.Mode"})
        EXPECT_TRUE(warned.count(property)) << property;
    EXPECT_FALSE(WarnedOf(Run("sim/cameras/large.json", true).ports[0]).count("Window.Mode"));
}

// The property table: every listed property with its type, value and range, and after the
// clicks whether it reads back what they wrote.
TEST_F(Inspect, PropertyTableShowsWhatTheCameraLists) {
    inspect::CommandLine line;
    line.cameraFile = ModelPath("guarded.json");
    line.options.port = 0;
    line.options.actions = line.options.properties = true;
    std::string error;
    ASSERT_TRUE(inspect::PrepareCamera(line, error)) << error;
    const PortFact port = inspect::Inspect(line.options).ports[0];
    std::map<std::string, inspect::PropertyRow> rows;
    for (const auto& row : port.properties) rows[row.name] = row;
    ASSERT_EQ(rows.size(), 21u);  // the null row is not a property
    EXPECT_EQ(rows["DigitalGain.1x"].type, "name");
    EXPECT_FALSE(rows["DigitalGain.1x"].value);
    EXPECT_EQ(rows["Crosshairs.X.Min"].readOnly, true);
    const auto& exposure = rows["ExposureTime"];
    EXPECT_EQ(exposure.type, "real");
    EXPECT_TRUE(std::isnan(*exposure.value));
    EXPECT_EQ(exposure.minimum, std::optional<double>(static_cast<float>(0.01)));
    EXPECT_EQ(exposure.maximum, std::optional<double>(1000));
    EXPECT_FALSE(rows["Decimation.Y.Max"].readsBack);
    if (!Clicks()) return;  // what reads back is learnt from the clicks' writes
    EXPECT_EQ(exposure.readsBack, std::optional<bool>(false));
    EXPECT_EQ(rows["Crosshairs.X"].readsBack, std::optional<bool>(true));
}

TEST(InspectCommandLine, BadInputIsRefusedWithTheReason) {
    const std::vector<std::pair<Strings, std::string>> cases = {
        {{"--frobnicate"}, "unknown option: --frobnicate"},
        {{"--port"}, "--port: missing value"},
        {{"--port", "-1"}, "--port: not a port index (0 or more): -1"},
        {{"--baud", "0"}, "--baud: not a positive baud rate: 0"},
    };
    for (const auto& [args, error] : cases) EXPECT_EQ(inspect::ParseCommandLine(args).error, error);
    const auto parsed = inspect::ParseCommandLine({"--port", "1", "--actions", "--json"});
    ASSERT_TRUE(parsed.line);
    EXPECT_EQ(parsed.line->options.port, 1);
    EXPECT_TRUE(parsed.line->options.actions && parsed.line->json);

    inspect::CommandLine line;
    line.cameraFile = ModelPath("no-such-model.json");
    std::string reason;
    EXPECT_FALSE(inspect::PrepareCamera(line, reason));
    EXPECT_NE(reason.find("no-such-model.json"), std::string::npos);
    pfsim::LoadDefaultModel();
}

#if !defined(_WIN32)
// The program end to end: exit codes and the JSON document's keys.
TEST(InspectProgram, ExitCodesAndJsonKeys) {
    const std::string program = AMBREL_BINARY_DIR "/bin/ambrel-inspect";
    const std::string out = ::testing::TempDir() + "report.json";
    auto run = [&](const std::string& args) {
        const int status = std::system((program + " " + args + " > " + out + " 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run("--bogus"), inspect::kExitBadInput);
    EXPECT_EQ(run("--port 7"), inspect::kExitBadInput);
    ASSERT_EQ(run("--json --camera " + ModelPath("fails-to-open.json")), inspect::kExitDoesNotWork);
    std::ifstream file(out);
    const nlohmann::json doc = nlohmann::json::parse(file);
    const nlohmann::json& port = doc["ports"][0];
    for (const char* key :
         {"index", "description", "opened", "error", "tabs", "settings", "adjustments", "commands",
          "geometry", "missing", "unused", "warnings", "cost"})
        EXPECT_TRUE(port.contains(key)) << key;
    EXPECT_EQ(port["error"]["code"], 5);
    EXPECT_TRUE(port["cost"].contains("refresh_calls"));
}

// A report that does not reach its reader is a failure, whichever way it is lost.
TEST(InspectProgram, OutputThatCannotBeWrittenFails) {
    const std::string program = AMBREL_BINARY_DIR "/bin/ambrel-inspect";
    for (const std::string redirect :
         {"> /dev/full", ">&-", "--json > /dev/full", "--help > /dev/full"}) {
        SCOPED_TRACE(redirect);
        const int status = std::system((program + " " + redirect + " 2>/dev/null").c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), inspect::kExitOutputLost);
    }
}
#endif

}  // namespace
