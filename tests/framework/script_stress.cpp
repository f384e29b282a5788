// Stress test: worker threads fire a module's events while the user-interface thread recompiles
// and edits them, then stops the module's events.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "CScriptEvent.h"
#include "script_support.h"

using scripttest::TestModule;
using scripttest::TestSetup;

TEST(ScriptStress, FiringWhileRecompilingAndStopping) {
    CSetupManager manager;
    TestSetup setup(L"Main", &manager);
    TestModule cam(L"Cam", &setup);
    setup.modules = {&cam};
    cam.logging = false;
    for (const wchar_t* name : {L"A", L"B", L"C", L"D"})
        cam.AddCommand(name, static_cast<int32_t>(cam.GetCommandCount()));
    cam.AddVariable(L"Level", 3);
    cam.onCommand = [&](int32_t) { (void)cam.GetVariable(0)->GetValueText(); };

    std::vector<std::unique_ptr<CScriptEvent>> events;
    for (int32_t i = 0; i < 4; ++i) {
        events.push_back(std::make_unique<CScriptEvent>(L"Ev", L"", i, &cam));
        events.back()->AddParamInfo(CParamInfo(L"CVarUINT", L"P", L""));
        for (const wchar_t* line : {L"A,P,Level", L"*B", L"**C,Level", L"*D", L"A"})
            events.back()->AddLine(line);
    }

    std::atomic<bool> done{false};
    std::atomic<int64_t> fires{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&, t] {
            for (uint32_t n = 0; !done.load(); ++n) {
                events[(t + n) % events.size()]->Fire(n);
                ++fires;
            }
        });
    }

    for (int round = 0; round < 200; ++round) {
        for (auto& event : events) {
            std::wstring error;
            EXPECT_TRUE(event->Compile(error));
            event->AddLine(L"*D,P");
            event->RemoveLine(L"*D,P");
        }
    }
    while (fires.load() < 100) std::this_thread::yield();

    cam.StopEvents();
    EXPECT_EQ(cam.RunningEvents(), 0);
    const int64_t executedAtStop = cam.Executed();
    const int64_t firesAtStop = fires.load();
    while (fires.load() < firesAtStop + 100) std::this_thread::yield();
    done = true;
    for (std::thread& worker : workers) worker.join();

    EXPECT_EQ(cam.Executed(), executedAtStop);  // nothing ran once stopped
    EXPECT_EQ(cam.RunningEvents(), 0);
    EXPECT_GT(executedAtStop, 0);
}
