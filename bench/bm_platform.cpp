// Benchmarks of the platform layer's hot paths: formatting a debugger line, and a switched-off
// debugger line.
#include <benchmark/benchmark.h>

#include "platform/DebugOutput.h"
#include "platform/Text.h"

namespace {

void BM_FormatPortError(benchmark::State& state) {
    const std::wstring message = L"Port is in use by another application";
    for (auto _ : state) {
        std::wstring line =
            plat::Format(L"=================Open Port Error:%s(%d) =======", message, -5);
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(BM_FormatPortError);

void BM_DebugOutputOff(benchmark::State& state) {
    plat::SetDebugOutputNone();
    const char* line = "ExposureTime.Min";
    for (auto _ : state) {
        benchmark::DoNotOptimize(line);
        plat::OutputDebugNarrow(line);
    }
}
BENCHMARK(BM_DebugOutputOff);

}  // namespace
