// Cost of the simulated camera library's calls, as the plug-in's property scans make them.
#include <benchmark/benchmark.h>
#include <pfConfig.h>
#include <sim/CameraSim.h>

namespace {

void OpenDefaultCamera() {
    pfsim::LoadDefaultModel();
    pfsim::EnableCallLog(false);
    pfOpenPort(0, 0);
}

void BM_SimPropertyRead(benchmark::State& state) {
    OpenDefaultCamera();
    for (auto _ : state) benchmark::DoNotOptimize(pfGetCameraPropertyI(0, "Window.W"));
    pfsim::Reset();
    pfsim::EnableCallLog(true);
}
BENCHMARK(BM_SimPropertyRead);

// One HasProperty-style scan of the whole table.
void BM_SimPropertyScan(benchmark::State& state) {
    OpenDefaultCamera();
    int32_t type = 0;
    int32_t access = 0;
    for (auto _ : state) {
        const int32_t n = pfGetNumProperties(0);
        for (int32_t i = 0; i < n; ++i) {
            benchmark::DoNotOptimize(pfGetPropertyInfo(0, i, &type, &access));
        }
    }
    state.counters["properties"] = pfGetNumProperties(0);
    pfsim::Reset();
    pfsim::EnableCallLog(true);
}
BENCHMARK(BM_SimPropertyScan);

}  // namespace
