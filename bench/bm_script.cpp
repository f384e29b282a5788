// Benchmarks of the scripting: compiling a long script, firing a large command tree, and the
// floor of the same number of bare virtual command calls.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CCommandParam.h"
#include "CModule.h"
#include "CScriptCommandInfo.h"
#include "CScriptEvent.h"
#include "CSetup.h"
#include "CSetupManager.h"
#include "CVarUINT.h"

namespace {

constexpr int kCommands = 10;

class BenchModule : public CModule {
public:
    explicit BenchModule(CSetup* setup) {
        SetName(L"Cam");
        SetHosts(setup, nullptr);
        for (int32_t id = 0; id < kCommands; ++id) {
            auto* info = new CScriptCommandInfo;
            info->SetName(L"Cmd" + std::to_wstring(id));
            info->SetId(id);
            info->SetModule(this);
            m_commands.push_back(info);
        }
        auto* level = new CVarUINT(1);
        level->SetNameAndDescription(L"Level", L"");
        m_variables.push_back(level);
    }
    ~BenchModule() override {
        for (CScriptCommandInfo* info : m_commands) delete info;
        for (CScriptVariable* variable : m_variables) delete variable;
    }
    bool ExecuteCommand(int32_t commandId, std::vector<CCommandParam>* params,
                        uint32_t eventArgument) override {
        m_sum += static_cast<uint32_t>(commandId) + static_cast<uint32_t>(params->size()) +
                 eventArgument;
        return true;
    }
    uint32_t m_sum = 0;
};

class BenchSetup : public CSetup {
public:
    explicit BenchSetup(CSetupManager* manager) : m_manager(manager) {}
    CModule* FindModule(std::wstring name) override {
        return module && module->GetName() == name ? module : nullptr;
    }
    CSetupManager* GetSetupManager() override { return m_manager; }
    const wchar_t* GetName() override { return L"Main"; }
    CModule* module = nullptr;

private:
    CSetupManager* m_manager;
};

// Depths 0,1,2,3,2,1 repeating, with parameters of every kind.
std::wstring BenchLine(int i) {
    static const int depths[] = {0, 1, 2, 3, 2, 1};
    std::wstring line(static_cast<size_t>(depths[i % 6]), L'*');
    line += L"Cam:Cmd" + std::to_wstring(i % kCommands);
    switch (i % 4) {
        case 0:
            line += L",P,Level";
            break;
        case 1:
            line += L",USERVAR:Gain";
            break;
        case 2:
            line += L",Main:Cam:Level,P";
            break;
        default:
            break;
    }
    return line;
}

struct BenchHost {
    BenchHost() : setup(&manager), module(&setup), event(L"Ev", L"", 0, &module) {
        setup.module = &module;
        manager.m_setups.push_back(&setup);
        auto* gain = new CVarUINT(2);
        gain->SetNameAndDescription(L"Gain", L"");
        manager.m_userVariables.push_back(gain);
        event.AddParamInfo(CParamInfo(L"CVarUINT", L"P", L""));
    }
    void Load(int lines) {
        for (int i = 0; i < lines; ++i) event.AddLine(BenchLine(i));
    }
    CSetupManager manager;
    BenchSetup setup;
    BenchModule module;
    CScriptEvent event;
};

void BM_CompileScript(benchmark::State& state) {
    BenchHost host;
    host.Load(static_cast<int>(state.range(0)));
    std::wstring error;
    for (auto _ : state) {
        if (!host.event.Compile(error)) state.SkipWithError("script did not compile");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CompileScript)->Arg(1000);

void BM_FireScript(benchmark::State& state) {
    BenchHost host;
    host.Load(static_cast<int>(state.range(0)));
    std::wstring error;
    if (!host.event.Compile(error)) state.SkipWithError("script did not compile");
    uint32_t argument = 0;
    for (auto _ : state) host.event.Fire(argument++);
    benchmark::DoNotOptimize(host.module.m_sum);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FireScript)->Arg(1000);

void BM_VirtualCallFloor(benchmark::State& state) {
    BenchHost host;
    CModule* module = &host.module;
    std::vector<CCommandParam> params{CCommandParam(0)};
    const int64_t calls = state.range(0);
    uint32_t argument = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(module);
        for (int64_t i = 0; i < calls; ++i) {
            benchmark::DoNotOptimize(
                module->ExecuteCommand(static_cast<int32_t>(i % kCommands), &params, argument));
        }
        ++argument;
    }
    benchmark::DoNotOptimize(host.module.m_sum);
    state.SetItemsProcessed(state.iterations() * calls);
}
BENCHMARK(BM_VirtualCallFloor)->Arg(1000);

}  // namespace
