// One user action end to end: a window-mode choice on the Settings page, from the click on the
// values list until every tab is refreshed, beside the bare camera-library calls it makes.
#include <benchmark/benchmark.h>
#include <platform/Application.h>
#include <platform/DebugOutput.h>
#include <platform/Registry.h>
#include <sim/CameraSim.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "AmbrelControlDlg.h"
#include "AmbrelControlModule.h"
#include "AmbrelController.h"
#include "CDialogHost.h"
#include "CSetup.h"
#include "DGrabModule.h"
#include "PFASettingsPage.h"
#include "pfConfig.h"
#include "ui/Input.h"
#include "ui/Window.h"

namespace {

// The built-in camera with its table padded to `names` rows, the padding first so that every
// property scan walks past it.
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
    for (int64_t i = 0; i < names - base; ++i)
        padding += "{\"name\": \"Padding.Property" + std::to_string(i) +
                   "\", \"type\": \"int\", \"value\": 0},";
    json.insert(at + anchor.size(), padding);
    return json;
}

class BenchSetup : public CSetup {
public:
    const wchar_t* GetName() override { return L"Bench"; }
    DGrabModule* GetGrabModule() override { return &grabber; }
    bool IsGrabbing() override { return grabbing; }
    void ToggleGrabbing() override { grabbing = !grabbing; }

    DGrabModule grabber;
    bool grabbing = true;
};

class BenchDialogHost : public CDialogHost {
public:
    void AddDialog(CDockedDlg* dialog) override {
        if (dialog) dialog->ShowWindow(ui::SW_SHOW);
    }
    void RemoveDialog(CDockedDlg* dialog) override {
        if (dialog) dialog->ShowWindow(ui::SW_HIDE);
    }
};

// A module attached to a host on port 0 of the padded camera, crosshairs on, so that every
// tab is shown; debugger output, link delays and the call log off.
class AttachedModule {
public:
    explicit AttachedModule(int64_t names) {
        std::string error;
        if (!pfsim::LoadModelString(PaddedModel(names), &error)) throw std::runtime_error(error);
        pfsim::SetProperty(0, "Crosshairs.Enable", 1);
        pfsim::EnableDelays(false);
        pfsim::EnableCallLog(false);
        plat::SetDebugOutputNone();
        ui::UseManualClock();
        plat::reg::UseMemoryStore();
        plat::AfxSetApp(&m_app);
        m_app.WriteProfileInt(L"Setups\\Bench\\Ambrel Control", L"Port", 1);
        module = std::make_unique<CAmbrelControlModule>();
        module->SetHosts(&m_setup, &m_host);
        module->Attach();
        ui::PumpMessages();
        if (module->m_pController->m_port != 0) throw std::runtime_error("port 0 did not open");
        if (module->m_pDialog->m_tabCtrl.GetItemCount() != 4)
            throw std::runtime_error("not 4 tabs");
    }
    ~AttachedModule() {
        module.reset();
        ui::PumpMessages();
        plat::AfxSetApp(nullptr);
        pfsim::EnableCallLog(true);
        pfsim::EnableDelays(true);
        pfsim::LoadDefaultModel();
    }

    CPFASettingsPage& Settings() { return *module->m_pDialog->m_pSettingsPage; }

    // A person clicking a feature; every applied setting lists the first feature again.
    void ShowOptions(const wchar_t* feature) {
        const int row = Settings().m_featureList.FindStringExact(-1, feature);
        if (ui::input::SelectRow(Settings().m_featureList.GetSafeHwnd(), row) !=
            ui::input::Result::Ok)
            throw std::runtime_error("cannot choose the feature");
    }
    // The measured action: a click on an option, then everything it sets off.
    void ChooseOption(int row) {
        if (ui::input::SelectRow(Settings().m_valuesList.GetSafeHwnd(), row) !=
            ui::input::Result::Ok)
            throw std::runtime_error("cannot choose the option");
        ui::PumpMessages();
    }

    std::unique_ptr<CAmbrelControlModule> module;

private:
    plat::CWinApp m_app;
    BenchSetup m_setup;
    BenchDialogHost m_host;
};

void BM_UserAction(benchmark::State& state, const wchar_t* feature) {
    AttachedModule attached(state.range(0));
    int row = 0;
    uint64_t calls = 0;
    for (auto _ : state) {
        state.PauseTiming();
        attached.ShowOptions(feature);
        row = 1 - row;
        const uint64_t before = pfsim::TotalCallCount();
        state.ResumeTiming();
        attached.ChooseOption(row);
        state.PauseTiming();
        calls += pfsim::TotalCallCount() - before;
        state.ResumeTiming();
    }
    state.counters["calls"] =
        benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
}

// One library call of a recorded action, ready to be made again.
struct Replay {
    enum Op {
        NumPort,
        PortInfo,
        ErrorMsg,
        Open,
        Close,
        NumProperties,
        PropertyInfo,
        GetI,
        GetF,
        GetInt,
        SetI,
        SetF
    } op = NumPort;
    int32_t port = 0;
    int32_t index = 0;
    std::string name;
    double value = 0;
};

Replay::Op OpOf(const std::string& op) {
    static const std::pair<const char*, Replay::Op> kOps[] = {
        {"pfGetNumPort", Replay::NumPort},
        {"pfGetPortInfo", Replay::PortInfo},
        {"pfGetErrorMsg", Replay::ErrorMsg},
        {"pfOpenPort", Replay::Open},
        {"pfClosePort", Replay::Close},
        {"pfGetNumProperties", Replay::NumProperties},
        {"pfGetPropertyInfo", Replay::PropertyInfo},
        {"pfGetCameraPropertyI", Replay::GetI},
        {"pfGetCameraPropertyF", Replay::GetF},
        {"pfGetCameraPropertyInt", Replay::GetInt},
        {"pfSetCameraPropertyI", Replay::SetI},
        {"pfSetCameraPropertyF", Replay::SetF},
    };
    for (const auto& [name, value] : kOps)
        if (op == name) return value;
    throw std::runtime_error("unexpected library call: " + op);
}

std::vector<Replay> RecordAction(AttachedModule& attached, const wchar_t* feature) {
    attached.ShowOptions(feature);
    pfsim::EnableCallLog(true);
    pfsim::ClearCallLog();
    attached.ChooseOption(1);
    const std::vector<pfsim::Call> log = pfsim::CallLog();
    pfsim::EnableCallLog(false);
    std::vector<Replay> calls;
    for (const pfsim::Call& call : log) {
        Replay r;
        r.op = OpOf(call.op);
        if (call.op == "pfGetPortInfo" || call.op == "pfGetErrorMsg") {
            r.index = std::stoi(call.args.at(0));
        } else if (call.op != "pfGetNumPort") {
            r.port = std::stoi(call.args.at(0));
            if (call.op == "pfGetPropertyInfo" || call.op == "pfOpenPort")
                r.index = std::stoi(call.args.at(1));
            else if (call.args.size() > 1)
                r.name = call.args.at(1);
            if (call.args.size() > 2) r.value = std::stod(call.args.at(2));
        }
        calls.push_back(std::move(r));
    }
    return calls;
}

void MakeCall(const Replay& c) {
    int32_t type = 0;
    int32_t access = 0;
    int32_t out = 0;
    switch (c.op) {
        case Replay::NumPort:
            benchmark::DoNotOptimize(pfGetNumPort());
            break;
        case Replay::PortInfo:
            benchmark::DoNotOptimize(pfGetPortInfo(c.index));
            break;
        case Replay::ErrorMsg:
            benchmark::DoNotOptimize(pfGetErrorMsg(c.index));
            break;
        case Replay::Open:
            benchmark::DoNotOptimize(pfOpenPort(c.port, c.index));
            break;
        case Replay::Close:
            benchmark::DoNotOptimize(pfClosePort(c.port));
            break;
        case Replay::NumProperties:
            benchmark::DoNotOptimize(pfGetNumProperties(c.port));
            break;
        case Replay::PropertyInfo:
            benchmark::DoNotOptimize(pfGetPropertyInfo(c.port, c.index, &type, &access));
            break;
        case Replay::GetI:
            benchmark::DoNotOptimize(pfGetCameraPropertyI(c.port, c.name.c_str()));
            break;
        case Replay::GetF:
            benchmark::DoNotOptimize(pfGetCameraPropertyF(c.port, c.name.c_str()));
            break;
        case Replay::GetInt:
            benchmark::DoNotOptimize(pfGetCameraPropertyInt(c.port, c.name.c_str(), &out));
            break;
        case Replay::SetI:
            benchmark::DoNotOptimize(
                pfSetCameraPropertyI(c.port, c.name.c_str(), static_cast<int32_t>(c.value)));
            break;
        case Replay::SetF:
            benchmark::DoNotOptimize(
                pfSetCameraPropertyF(c.port, c.name.c_str(), static_cast<float>(c.value)));
            break;
    }
}

// The floor: the library calls of one action alone, made again as recorded.
void BM_UserActionBareCalls(benchmark::State& state, const wchar_t* feature) {
    AttachedModule attached(state.range(0));
    const std::vector<Replay> calls = RecordAction(attached, feature);
    for (auto _ : state)
        for (const Replay& c : calls) MakeCall(c);
    state.counters["calls"] = static_cast<double>(calls.size());
}

}  // namespace

BENCHMARK_CAPTURE(BM_UserAction, WindowMode, L"Window")->Arg(300);
BENCHMARK_CAPTURE(BM_UserActionBareCalls, WindowMode, L"Window")->Arg(300);
