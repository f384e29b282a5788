// Recorded camera-library calls made again, scans as one record each.
#include "CallReplay.h"

#include <benchmark/benchmark.h>
#include <pfConfig.h>

#include <stdexcept>
#include <utility>

namespace bench {
namespace {

struct OpName {
    const char* name;
    int op;
};

}  // namespace

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

CallReplay::CallReplay(const std::vector<pfsim::Call>& log) {
    static const OpName kOps[] = {
        {"pfGetNumPort", Record::NumPort},      {"pfGetPortInfo", Record::PortInfo},
        {"pfGetErrorMsg", Record::ErrorMsg},    {"pfOpenPort", Record::Open},
        {"pfClosePort", Record::Close},         {"pfGetNumProperties", Record::NumProperties},
        {"pfGetPropertyInfo", Record::Scan},    {"pfGetCameraPropertyI", Record::GetI},
        {"pfGetCameraPropertyF", Record::GetF}, {"pfGetCameraPropertyInt", Record::GetInt},
        {"pfSetCameraPropertyI", Record::SetI}, {"pfSetCameraPropertyF", Record::SetF},
    };
    for (const pfsim::Call& call : log) {
        Record r;
        bool known = false;
        for (const auto& [name, op] : kOps) {
            if (call.op == name) {
                r.op = static_cast<Record::Op>(op);
                known = true;
            }
        }
        if (!known) throw std::runtime_error("unexpected library call: " + call.op);
        if (!call.args.empty()) r.port = std::stoi(call.args[0]);
        if (r.op == Record::Scan || r.op == Record::Open) r.index = std::stoi(call.args.at(1));
        if (r.op >= Record::GetI) r.name = call.args.at(1);
        if (r.op >= Record::SetI) r.value = std::stod(call.args.at(2));
        ++m_calls;
        if (r.op == Record::Scan) {
            Record* last = m_records.empty() ? nullptr : &m_records.back();
            if (last && last->op == Record::Scan && last->port == r.port &&
                last->index + last->count == r.index) {
                ++last->count;
                continue;
            }
            r.count = 1;
        }
        m_records.push_back(std::move(r));
    }
}

void CallReplay::Run(void (*names)(const char*)) const {
    int32_t type = 0;
    int32_t access = 0;
    int32_t out = 0;
    for (const Record& c : m_records) {
        switch (c.op) {
            case Record::NumPort:
                benchmark::DoNotOptimize(pfGetNumPort());
                break;
            case Record::PortInfo:
                benchmark::DoNotOptimize(pfGetPortInfo(c.port));
                break;
            case Record::ErrorMsg:
                benchmark::DoNotOptimize(pfGetErrorMsg(c.port));
                break;
            case Record::Open:
                benchmark::DoNotOptimize(pfOpenPort(c.port, c.index));
                break;
            case Record::Close:
                benchmark::DoNotOptimize(pfClosePort(c.port));
                break;
            case Record::NumProperties:
                benchmark::DoNotOptimize(pfGetNumProperties(c.port));
                break;
            case Record::Scan:
                for (int32_t i = c.index; i < c.index + c.count; ++i) {
                    const char* name = pfGetPropertyInfo(c.port, i, &type, &access);
                    benchmark::DoNotOptimize(name);
                    if (names) names(name);
                }
                break;
            case Record::GetI:
                benchmark::DoNotOptimize(pfGetCameraPropertyI(c.port, c.name.c_str()));
                break;
            case Record::GetF:
                benchmark::DoNotOptimize(pfGetCameraPropertyF(c.port, c.name.c_str()));
                break;
            case Record::GetInt:
                benchmark::DoNotOptimize(pfGetCameraPropertyInt(c.port, c.name.c_str(), &out));
                break;
            case Record::SetI:
                benchmark::DoNotOptimize(
                    pfSetCameraPropertyI(c.port, c.name.c_str(), static_cast<int32_t>(c.value)));
                break;
            case Record::SetF:
                benchmark::DoNotOptimize(
                    pfSetCameraPropertyF(c.port, c.name.c_str(), static_cast<float>(c.value)));
                break;
        }
    }
}

}  // namespace bench
