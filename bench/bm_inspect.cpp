// The camera inspector on many ports with long port texts: the report of every port, with the
// plug-in's refreshes, and the click that opens the first port in its dialog.
#include <benchmark/benchmark.h>
#include <sim/CameraSim.h>

#include <string>

#include "Probe.h"

namespace {

// `ports` ports of one camera, each with a text of `length` characters.
std::string ManyPortsModel(int64_t ports, int64_t length) {
    std::string model =
        R"({"cameras": {"c": {"properties": [)"
        R"({"name": "ExposureTime", "type": "real", "value": 10, "min": 0.01, "max": 1000, "limits": true},)"
        R"({"name": "Window.W", "type": "int", "value": 1024, "min": 1, "max": 1024},)"
        R"({"name": "Window.H", "type": "int", "value": 1024, "min": 1, "max": 1024}]}}, "ports": [)";
    for (int64_t i = 0; i < ports; ++i) {
        model += i ? "," : "";
        model += R"({"camera": "c", "description": "port )" + std::to_string(i) + " " +
                 std::string(static_cast<size_t>(length), 'x') + "\"}";
    }
    return model + "]}";
}

void BM_InspectManyLongPorts(benchmark::State& state) {
    pfsim::LoadModelString(ManyPortsModel(state.range(0), state.range(1)));
    pfsim::EnableCallLog(false);
    pfsim::EnableDelays(false);
    for (auto _ : state) benchmark::DoNotOptimize(inspect::Inspect({}).ports.size());
    state.counters["ports"] = static_cast<double>(state.range(0));
    pfsim::LoadDefaultModel();
    pfsim::EnableCallLog(true);
}
BENCHMARK(BM_InspectManyLongPorts)
    ->Args({30, 5000})
    ->Args({100, 5000})
    ->Args({300, 500})
    ->Args({300, 5000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
