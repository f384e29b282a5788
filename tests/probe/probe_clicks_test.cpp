// Each click's cost as the inspector measures it equals the calls ambrel-host --calls prints for
// the same click, on the shipped models and on generated ones; and clicking everything leaves
// the camera as it was, or says what it could not put back.
#include <gtest/gtest.h>

#include <sim/CameraSim.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include "CallMeter.h"
#include "CommandLine.h"
#include "ModelGenerator.h"
#include "Probe.h"

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void Spill(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inspect::Report Inspect(const std::string& modelFile, int32_t port, bool actions) {
    inspect::CommandLine line;
    line.cameraFile = modelFile;
    line.options.port = port;
    line.options.actions = actions;
    std::string error;
    EXPECT_TRUE(inspect::PrepareCamera(line, error)) << error;
    return inspect::Inspect(line.options);
}

class ClickCosts : public ::testing::Test {
protected:
    void SetUp() override {
        if (!inspect::meter::Available() || !inspect::DialogClicks::Available())
            GTEST_SKIP() << "this build neither counts calls nor drives the dialog";
    }
    void TearDown() override { pfsim::LoadDefaultModel(); }
};

#if !defined(_WIN32)
// One host call line's characters on the link, as the simulated link counts them; port calls
// cross none.
size_t LinkChars(const std::string& line) {
    const size_t open = line.find('(');
    const std::string op = line.substr(6, open - 6);
    for (const char* portCall :
         {"pfGetNumPort", "pfGetPortInfo", "pfOpenPort", "pfClosePort", "pfGetErrorMsg"})
        if (op == portCall) return 0;
    const size_t close = line.rfind(") = ");
    const std::string args = line.substr(open + 1, close - open - 1);
    const std::string result = line.substr(close + 4);
    const size_t afterPort = args.find(", ");
    const std::string request = afterPort == std::string::npos ? "" : args.substr(afterPort + 2);
    size_t chars = 4 + result.size() + request.size();
    for (size_t at = 0; (at = request.find(", ", at)) != std::string::npos; at += 2) --chars;
    return chars;
}

struct HostClick {
    uint64_t calls = 0;
    inspect::CallTally tally;
};

// Runs the clicks' lines in ambrel-host --calls, a dump after each, and splits the call lines
// at the dumps.
std::vector<HostClick> HostCalls(const std::string& modelFile,
                                 const std::vector<inspect::ActionCost>& clicks) {
    // Named after the test and the process: ctest runs the tests of this program side by side,
    // and several builds may run it at once.
    const std::string dir = ::testing::TempDir() +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                            std::to_string(::getpid()) + "-";
    std::string script = "dump\n";
    for (const auto& click : clicks) {
        for (const std::string& line : click.script) script += line + "\n";
        script += "dump\n";
    }
    Spill(dir + "clicks.script", script);
    // The host would wait out the link's delays; the link time is counted from the lines.
    nlohmann::json model = nlohmann::json::parse(Slurp(modelFile));
    for (auto& port : model["ports"]) port.erase("baud");
    Spill(dir + "clicks.json", model.dump());
    std::remove((dir + "clicks.db").c_str());
    const std::string command = AMBREL_BINARY_DIR "/bin/ambrel-host --calls --camera " + dir +
                                "clicks.json --profile " + dir + "clicks.db --script " + dir +
                                "clicks.script > " + dir + "clicks.out 2>/dev/null";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    std::vector<HostClick> out;
    std::istringstream lines(Slurp(dir + "clicks.out"));
    bool started = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("{")) {
            if (started) out.emplace_back();
            started = true;
            if (out.empty()) out.emplace_back();
        } else if (started && line.starts_with("call: ")) {
            out.back().calls++;
            if (const size_t chars = LinkChars(line))
                out.back().tally.linkChars.push_back(static_cast<uint32_t>(chars));
        }
    }
    if (!out.empty()) out.pop_back();  // after the last dump: the shutdown
    return out;
}

void ExpectHostAgrees(const std::string& modelFile, int32_t ports) {
    for (int32_t port = 0; port < ports; ++port) {
        SCOPED_TRACE("port " + std::to_string(port));
        const inspect::Report report = Inspect(modelFile, port, true);
        ASSERT_EQ(report.ports.size(), 1u);
        const auto& clicks = report.ports[0].cost.actions;
        const std::vector<HostClick> host = HostCalls(modelFile, clicks);
        ASSERT_EQ(host.size(), clicks.size());
        for (size_t i = 0; i < clicks.size(); ++i) {
            EXPECT_EQ(clicks[i].calls, host[i].calls) << clicks[i].script.front();
            const int32_t baud = report.ports[0].cost.baud > 0 ? report.ports[0].cost.baud : 9600;
            EXPECT_EQ(inspect::LinkMilliseconds(host[i].tally, baud),
                      clicks[i].linkMs.value_or(inspect::LinkMilliseconds(host[i].tally, baud)))
                << clicks[i].script.front();
        }
    }
}

TEST_F(ClickCosts, ShippedModelsAgreeWithTheHost) {
    for (const auto& [model, ports] : std::vector<std::pair<std::string, int32_t>>{
             {"full", 2}, {"minimal", 1}, {"large", 1}, {"faulty", 1}}) {
        SCOPED_TRACE(model);
        ExpectHostAgrees(AMBREL_SOURCE_DIR "/sim/cameras/" + model + ".json", ports);
    }
}

// AMBREL_GENERATED_MODELS sets how many (default 3), AMBREL_MODEL_SEED the first seed.
TEST_F(ClickCosts, GeneratedModelsAgreeWithTheHost) {
    const char* countText = std::getenv("AMBREL_GENERATED_MODELS");
    const char* seedText = std::getenv("AMBREL_MODEL_SEED");
    const int count = countText ? std::atoi(countText) : 3;
    const auto first =
        seedText
            ? static_cast<uint32_t>(std::strtoul(seedText, nullptr, 10))
            : static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
    std::cout << "generated models: " << count << " from seed " << first << std::endl;
    for (int i = 0; i < count; ++i) {
        const uint32_t seed = first + static_cast<uint32_t>(i);
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::string json = probe_test::GenerateModel(seed);
        const std::string file = ::testing::TempDir() + "generated.json";
        Spill(file, json);
        ExpectHostAgrees(file, static_cast<int32_t>(nlohmann::json::parse(json)["ports"].size()));
    }
}
#endif

// A property that does not read back what it holds (a write-only register reading 0, a read
// stuck on one value) is never written back blindly: the camera keeps every other value, and
// the run names what it could not put back.
TEST_F(ClickCosts, PropertiesThatDoNotReadBackAreNamedNotOverwritten) {
    const std::string file = ::testing::TempDir() + "write-only.json";
    for (const auto& [property, fault] : std::vector<std::pair<std::string, nlohmann::json>>{
             {"DigitalGain", 0}, {"Correction.Mode", 5}, {"ExposureTime", "nan"}}) {
        SCOPED_TRACE(property);
        nlohmann::json model =
            nlohmann::json::parse(Slurp(AMBREL_SOURCE_DIR "/sim/cameras/full.json"));
        for (auto& row : model["cameras"]["full"]["properties"])
            if (row.is_object() && row["name"] == property) {
                if (property == "DigitalGain") row["value"] = 2;
                row["read"] = fault;
            }
        Spill(file, model.dump());
        const inspect::Report report = Inspect(file, 0, true);
        const auto& port = report.ports[0];
        EXPECT_FALSE(port.restored);
        ASSERT_EQ(port.notRestored.size(), 1u);
        EXPECT_EQ(port.notRestored[0].property, property);
        EXPECT_EQ(inspect::ExitStatus(report), inspect::kExitNotRestored);

        const nlohmann::json original = model["cameras"]["full"]["properties"];
        for (const auto& row : original) {
            if (!row.is_object() || row["name"] == property || row.value("read_only", false))
                continue;
            const std::string name = row["name"];
            EXPECT_EQ(pfsim::GetProperty(0, name), row["value"].get<double>()) << name;
        }
    }
}

}  // namespace
