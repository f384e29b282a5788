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
#include "CallReplay.h"
#include "DGrabModule.h"
#include "PFASettingsPage.h"
#include "pfConfig.h"
#include "ui/Input.h"
#include "ui/Window.h"

namespace {

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
        if (!pfsim::LoadModelString(bench::PaddedModel(names), &error))
            throw std::runtime_error(error);
        pfsim::SetProperty(0, "Crosshairs.Enable", 1);
        pfsim::EnableDelays(false);
        pfsim::EnableCallLog(false);
        plat::SetDebugOutputNone();
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

bench::CallReplay RecordAction(AttachedModule& attached, const wchar_t* feature) {
    attached.ShowOptions(feature);
    pfsim::EnableCallLog(true);
    pfsim::ClearCallLog();
    attached.ChooseOption(1);
    bench::CallReplay calls(pfsim::CallLog());
    pfsim::EnableCallLog(false);
    return calls;
}

void BM_UserAction(benchmark::State& state, const wchar_t* feature) {
    AttachedModule attached(state.range(0));
    // Counted once beforehand: pausing the timer to count in the loop costs more than counting.
    state.counters["calls"] = static_cast<double>(RecordAction(attached, feature).Calls());
    int row = 1;
    for (auto _ : state) {
        state.PauseTiming();
        attached.ShowOptions(feature);
        row = 1 - row;
        state.ResumeTiming();
        attached.ChooseOption(row);
    }
}

// The floor: the library calls of one action alone, made again as recorded.
void BM_UserActionBareCalls(benchmark::State& state, const wchar_t* feature) {
    AttachedModule attached(state.range(0));
    const bench::CallReplay calls = RecordAction(attached, feature);
    for (auto _ : state) calls.Run();
    state.counters["calls"] = static_cast<double>(calls.Calls());
}

}  // namespace

BENCHMARK_CAPTURE(BM_UserAction, WindowMode, L"Window")->Arg(300);
BENCHMARK_CAPTURE(BM_UserActionBareCalls, WindowMode, L"Window")->Arg(300);
