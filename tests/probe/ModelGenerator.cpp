// Random valid camera models for the simulated library.
#include "ModelGenerator.h"

#include <nlohmann/json.hpp>
#include <random>

namespace probe_test {
namespace {

using nlohmann::json;

class Dice {
public:
    explicit Dice(uint32_t seed) : m_engine(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_engine); }
    bool Chance(int percent) { return Int(1, 100) <= percent; }
    template <class T, size_t N>
    T Pick(const T (&items)[N]) {
        return items[static_cast<size_t>(Int(0, static_cast<int>(N) - 1))];
    }

private:
    std::mt19937 m_engine;
};

json Int(const char* name, int lo, int hi, int value) {
    return {{"name", name}, {"type", "int"}, {"min", lo}, {"max", hi}, {"value", value}};
}

void Enumeration(Dice& d, json& table, const char* name, int options) {
    table.push_back(Int(name, 0, options - 1, d.Int(0, options - 1)));
}

void Window(Dice& d, json& table) {
    const int sensor = d.Pick({256, 512, 1024, 2048});
    const int step = d.Pick({1, 8, 32, 64});
    const int width = d.Int(1, sensor);
    const int height = d.Int(1, sensor);
    table.push_back(Int("Window.W", 1, sensor, width));
    table.push_back(Int("Window.H", 1, sensor, height));
    json x = Int("Window.X", 0, sensor - step, step * d.Int(0, (sensor - width) / step));
    if (step > 1) x["increment"] = step;
    table.push_back(x);
    table.push_back(Int("Window.Y", 0, sensor - 1, d.Int(0, sensor - height)));
    if (d.Chance(70)) {
        json w = Int("Window.W.Max", 1, sensor, sensor);
        json h = Int("Window.H.Max", 1, sensor, sensor);
        w["read_only"] = h["read_only"] = true;
        table.push_back(w);
        table.push_back(h);
    }
}

void Adjustment(Dice& d, json& table, const char* name) {
    const int lo = d.Int(0, 100);
    const int hi = lo + d.Int(0, 5000);
    json row = Int(name, lo, hi, d.Int(lo, hi));
    row["limits"] = true;
    table.push_back(row);
}

void Real(Dice& d, json& table, const char* name) {
    const double lo = d.Pick({0.01, 0.5, 1.0, 2.0});
    const double hi = d.Pick({10.0, 100.0, 1000.0, 5000.0});
    const double value = lo + (hi - lo) * d.Int(0, 8) / 8.0;
    table.push_back({{"name", name},
                     {"type", "real"},
                     {"min", lo},
                     {"max", hi},
                     {"value", static_cast<double>(static_cast<float>(value))},
                     {"limits", true}});
}

}  // namespace

std::string GenerateModel(uint32_t seed) {
    Dice d(seed);
    json table = json::array();
    if (d.Chance(80)) Window(d, table);
    if (d.Chance(60)) Enumeration(d, table, "Window.Mode", 4);
    if (d.Chance(50)) Enumeration(d, table, "Correction.Mode", 6);
    if (d.Chance(50)) Enumeration(d, table, "DigitalGain", 4);
    if (d.Chance(50)) Enumeration(d, table, "Trigger.CFR", 2);
    if (d.Chance(50)) Enumeration(d, table, "Trigger.Interleave", 2);
    if (d.Chance(50)) Enumeration(d, table, "Trigger.Source", 3);
    if (d.Chance(50)) Enumeration(d, table, "Crosshairs.Enable", 2);
    for (const char* name : {"Crosshairs.X", "Crosshairs.Y", "Crosshairs.Value"})
        if (d.Chance(60)) Adjustment(d, table, name);
    if (d.Chance(50)) {
        const int hi = d.Int(1, 8);
        json row = Int("Decimation.Y", 1, hi, d.Int(1, hi));
        row["limits"] = true;
        table.push_back(row);
    }
    if (d.Chance(80)) Real(d, table, "ExposureTime");
    if (d.Chance(60)) Real(d, table, "FrameTime");
    for (const char* name : {"Window.Max", "StoreDefaults", "FactoryReset", "Reset"})
        if (d.Chance(50)) table.push_back(Int(name, 0, 1, 0));

    json ports = json::array();
    const int portCount = d.Int(1, 2);
    for (int i = 0; i < portCount; ++i) {
        json port = {{"description", "generated port " + std::to_string(i)}, {"camera", "gen"}};
        if (d.Chance(50)) port["baud"] = d.Pick({9600, 115200});
        ports.push_back(port);
    }
    const json model = {{"cameras", {{"gen", {{"properties", table}}}}}, {"ports", ports}};
    return model.dump();
}

}  // namespace probe_test
