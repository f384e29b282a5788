// The controller's Refresh and SetSetting against the simulated camera, beside the bare
// library calls one Refresh makes: the floor the controller's own work is measured against.
#include <benchmark/benchmark.h>
#include <platform/DebugOutput.h>
#include <sim/CameraSim.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "AmbrelController.h"
#include "pfConfig.h"

namespace {

// The built-in camera with its table padded to `names` rows. The padding comes first, so every
// scan walks past it, as scans on a camera with a long table do.
std::string PaddedModel(int64_t names) {
    pfsim::LoadDefaultModel();
    pfOpenPort(0, 0);
    const int64_t base = pfGetNumProperties(0);
    pfClosePort(0);
    std::string json = pfsim::DefaultModelJson();
    const std::string anchor = "\"properties\": [";
    const size_t at = json.find(anchor);
    if (at == std::string::npos) throw std::runtime_error("default model without properties");
    std::string padding;
    for (int64_t i = 0; i < names - base; ++i) {
        padding += "{\"name\": \"Padding.Property" + std::to_string(i) +
                   "\", \"type\": \"int\", \"value\": 0},";
    }
    json.insert(at + anchor.size(), padding);
    return json;
}

// Puts the simulator back as the other benchmarks of the program expect it.
struct SimGuard {
    ~SimGuard() {
        pfsim::EnableCallLog(true);
        pfsim::EnableDelays(true);
        pfsim::LoadDefaultModel();
    }
};

// The fully equipped camera (crosshairs on) with `names` rows, port 0 open, nothing logged.
void Prepare(CAmbrelController& ctl, int64_t names) {
    std::string error;
    if (!pfsim::LoadModelString(PaddedModel(names), &error)) throw std::runtime_error(error);
    pfsim::EnableDelays(false);
    pfsim::EnableCallLog(false);
    plat::SetDebugOutputNone();
    ctl.Refresh();
    ctl.SetSetting(kIdPort, 0);
    ctl.SetSetting(kIdCrosshairs, 1);
}

// Scanned names go to a file that is emptied, off the clock, after every iteration.
class DebugFile {
public:
    DebugFile() : m_path(std::filesystem::temp_directory_path() / "ambrel-bm-controller.log") {
        if (!plat::SetDebugOutputFile(m_path.string())) throw std::runtime_error("no debug file");
    }
    ~DebugFile() {
        plat::SetDebugOutputNone();
        std::filesystem::remove(m_path);
    }
    void Empty() { std::filesystem::resize_file(m_path, 0); }

private:
    std::filesystem::path m_path;
};

void RunRefresh(benchmark::State& state, bool debugFile) {
    SimGuard guard;
    CAmbrelController ctl;
    Prepare(ctl, state.range(0));
    std::unique_ptr<DebugFile> file;
    if (debugFile) file = std::make_unique<DebugFile>();
    for (auto _ : state) {
        ctl.Refresh();
        benchmark::DoNotOptimize(ctl.m_settings.data());
        if (file) {
            state.PauseTiming();
            file->Empty();
            state.ResumeTiming();
        }
    }
}

void BM_Refresh(benchmark::State& state) {
    RunRefresh(state, false);
}
void BM_Refresh_DebugFile(benchmark::State& state) {
    RunRefresh(state, true);
}

void BM_SetSetting(benchmark::State& state) {
    SimGuard guard;
    CAmbrelController ctl;
    Prepare(ctl, state.range(0));
    int32_t mode = 0;
    for (auto _ : state) {
        mode = 1 - mode;
        benchmark::DoNotOptimize(ctl.SetSetting(kIdTriggerMode, mode));
    }
}

// One library call of a recorded Refresh, ready to be made again.
struct Replay {
    enum Op { NumPort, PortInfo, NumProperties, PropertyInfo, GetI, GetF } op;
    int32_t port = 0;
    int32_t index = 0;
    std::string name;
};

std::vector<Replay> RecordRefresh(CAmbrelController& ctl) {
    pfsim::EnableCallLog(true);
    pfsim::ClearCallLog();
    ctl.Refresh();
    const std::vector<pfsim::Call> log = pfsim::CallLog();
    pfsim::EnableCallLog(false);
    std::vector<Replay> calls;
    for (const pfsim::Call& call : log) {
        Replay r{};
        if (call.op == "pfGetNumPort") {
            r.op = Replay::NumPort;
        } else if (call.op == "pfGetPortInfo") {
            r.op = Replay::PortInfo;
            r.index = std::stoi(call.args.at(0));
        } else if (call.op == "pfGetNumProperties") {
            r.op = Replay::NumProperties;
            r.port = std::stoi(call.args.at(0));
        } else if (call.op == "pfGetPropertyInfo") {
            r.op = Replay::PropertyInfo;
            r.port = std::stoi(call.args.at(0));
            r.index = std::stoi(call.args.at(1));
        } else if (call.op == "pfGetCameraPropertyI" || call.op == "pfGetCameraPropertyF") {
            r.op = call.op == "pfGetCameraPropertyI" ? Replay::GetI : Replay::GetF;
            r.port = std::stoi(call.args.at(0));
            r.name = call.args.at(1);
        } else {
            throw std::runtime_error("Refresh made an unexpected call: " + call.op);
        }
        calls.push_back(std::move(r));
    }
    return calls;
}

void RunBareCalls(benchmark::State& state, bool debugFile) {
    SimGuard guard;
    CAmbrelController ctl;
    Prepare(ctl, state.range(0));
    const std::vector<Replay> calls = RecordRefresh(ctl);
    std::unique_ptr<DebugFile> file;
    if (debugFile) file = std::make_unique<DebugFile>();
    for (auto _ : state) {
        for (const Replay& c : calls) {
            switch (c.op) {
                case Replay::NumPort:
                    benchmark::DoNotOptimize(pfGetNumPort());
                    break;
                case Replay::PortInfo:
                    benchmark::DoNotOptimize(pfGetPortInfo(c.index));
                    break;
                case Replay::NumProperties:
                    benchmark::DoNotOptimize(pfGetNumProperties(c.port));
                    break;
                case Replay::PropertyInfo: {
                    int32_t type = 0;
                    int32_t access = 0;
                    const char* name = pfGetPropertyInfo(c.port, c.index, &type, &access);
                    benchmark::DoNotOptimize(name);
                    if (debugFile) plat::OutputDebugNarrow(name);
                    break;
                }
                case Replay::GetI:
                    benchmark::DoNotOptimize(pfGetCameraPropertyI(c.port, c.name.c_str()));
                    break;
                case Replay::GetF:
                    benchmark::DoNotOptimize(pfGetCameraPropertyF(c.port, c.name.c_str()));
                    break;
            }
        }
        if (file) {
            state.PauseTiming();
            file->Empty();
            state.ResumeTiming();
        }
    }
    state.counters["calls"] = static_cast<double>(calls.size());
}

void BM_RefreshBareCalls(benchmark::State& state) {
    RunBareCalls(state, false);
}
void BM_RefreshBareCalls_DebugFile(benchmark::State& state) {
    RunBareCalls(state, true);
}

}  // namespace

BENCHMARK(BM_Refresh)->Arg(300);
BENCHMARK(BM_RefreshBareCalls)->Arg(300);
BENCHMARK(BM_SetSetting)->Arg(300);
BENCHMARK(BM_Refresh_DebugFile)->Arg(300);
BENCHMARK(BM_RefreshBareCalls_DebugFile)->Arg(300);
