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

#include "AmbrelController.h"
#include "CallReplay.h"
#include "pfConfig.h"

namespace {

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
    if (!pfsim::LoadModelString(bench::PaddedModel(names), &error)) throw std::runtime_error(error);
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
    const uint64_t before = pfsim::TotalCallCount();
    for (auto _ : state) {
        ctl.Refresh();
        benchmark::DoNotOptimize(ctl.m_settings.data());
        if (file) {
            state.PauseTiming();
            file->Empty();
            state.ResumeTiming();
        }
    }
    state.counters["calls"] = benchmark::Counter(
        static_cast<double>(pfsim::TotalCallCount() - before), benchmark::Counter::kAvgIterations);
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

// The library calls of one recorded Refresh, made again.
bench::CallReplay RecordRefresh(CAmbrelController& ctl) {
    pfsim::EnableCallLog(true);
    pfsim::ClearCallLog();
    ctl.Refresh();
    bench::CallReplay calls(pfsim::CallLog());
    pfsim::EnableCallLog(false);
    return calls;
}

void WriteDebugName(const char* name) {
    plat::OutputDebugNarrow(name);
}

void RunBareCalls(benchmark::State& state, bool debugFile) {
    SimGuard guard;
    CAmbrelController ctl;
    Prepare(ctl, state.range(0));
    const bench::CallReplay calls = RecordRefresh(ctl);
    std::unique_ptr<DebugFile> file;
    if (debugFile) file = std::make_unique<DebugFile>();
    for (auto _ : state) {
        calls.Run(debugFile ? WriteDebugName : nullptr);
        if (file) {
            state.PauseTiming();
            file->Empty();
            state.ResumeTiming();
        }
    }
    state.counters["calls"] = static_cast<double>(calls.Calls());
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
