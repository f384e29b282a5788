// Event execution counting and StopEvents, the host notification sequence and the module's
// host pointers, through the module's public interface.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "CModule.h"
#include "FrameworkHosts.h"
#include "platform/DebugOutput.h"

namespace {

using namespace std::chrono_literals;

const std::wstring kWaitingFor2 = L"Waiting for 2 events to complete";
const std::wstring kWaitingFor1 = L"Waiting for 1 events to complete";

// Polls until the condition holds; false after a generous time-out, so a fault fails the test
// instead of hanging it.
bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// One event execution on its own thread that runs until released.
class Execution {
public:
    explicit Execution(CModule& module)
        : m_thread([this, &module] {
              m_began = module.TryBeginEvent();
              m_started = true;
              while (!m_release) std::this_thread::sleep_for(1ms);
              if (m_began) module.EndEvent();
          }) {}
    ~Execution() {
        m_release = true;
        m_thread.join();
    }
    bool Started() const { return m_started; }
    bool Began() const { return m_began; }
    void Release() { m_release = true; }

private:
    std::atomic<bool> m_began{false};
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_release{false};
    std::thread m_thread;
};

TEST(EventCounting, BeginAndEndBalanceTheCount) {
    TestModule module;
    EXPECT_TRUE(module.TryBeginEvent());
    EXPECT_TRUE(module.TryBeginEvent());
    EXPECT_EQ(module.RunningEvents(), 2);
    module.EndEvent();
    module.EndEvent();
    EXPECT_EQ(module.RunningEvents(), 0);
}

TEST(EventCounting, UnmatchedEndEventKeepsTheCountAtZeroSoStopEventsReturns) {
    TestModule module;
    module.EndEvent();
    EXPECT_EQ(module.RunningEvents(), 0);
    module.StopEvents();  // would wait forever on a negative count
    EXPECT_EQ(module.RunningEvents(), 0);
}

TEST(StopEvents, WithNothingRunningReturnsAtOnceWithoutDebuggerOutput) {
    TestModule module;
    plat::DebugCapture capture;
    module.StopEvents();
    EXPECT_TRUE(capture.Lines().empty());
    EXPECT_FALSE(module.TryBeginEvent());
    EXPECT_EQ(module.RunningEvents(), 0);
}

TEST(StopEvents, RefusesNewExecutionsWithoutCountingThemUntilEnabledAgain) {
    TestModule module;
    plat::DebugCapture capture;
    std::jthread stopper;  // declared first so that a failing test releases before joining
    Execution running(module);
    ASSERT_TRUE(WaitFor([&] { return running.Began(); }));
    stopper = std::jthread([&] { module.StopEvents(); });
    // The first waiting line proves the module has stopped accepting.
    ASSERT_TRUE(WaitFor([&] { return capture.Contains(kWaitingFor1); }));
    EXPECT_FALSE(module.TryBeginEvent());
    EXPECT_EQ(module.RunningEvents(), 1);
    running.Release();
    stopper.join();

    EXPECT_FALSE(module.TryBeginEvent());
    module.EnableEvents();
    EXPECT_TRUE(module.TryBeginEvent());
    module.EndEvent();
}

TEST(StopEvents, WaitsForTwoExecutionsReportingTheCountUntilBothEnd) {
    TestModule module;
    plat::DebugCapture capture;
    std::atomic<bool> stopped{false};
    std::jthread stopper;  // declared first so that a failing test releases before joining
    Execution first(module);
    Execution second(module);
    ASSERT_TRUE(WaitFor([&] { return first.Started() && second.Started(); }));
    ASSERT_TRUE(first.Began() && second.Began());

    stopper = std::jthread([&] {
        module.StopEvents();
        stopped = true;
    });
    ASSERT_TRUE(WaitFor([&] { return capture.Count(kWaitingFor2) >= 2; }));
    EXPECT_FALSE(stopped);

    first.Release();
    ASSERT_TRUE(WaitFor([&] { return capture.Contains(kWaitingFor1); }));
    EXPECT_FALSE(stopped);

    second.Release();
    ASSERT_TRUE(WaitFor([&] { return stopped.load(); }));
    stopper.join();
    EXPECT_EQ(module.RunningEvents(), 0);

    // Only waiting lines, the count of two until the first ended, then one.
    const std::vector<std::wstring> lines = capture.Lines();
    bool sawOne = false;
    for (const std::wstring& line : lines) {
        if (line == kWaitingFor1) {
            sawOne = true;
        } else {
            EXPECT_EQ(line, kWaitingFor2);
            EXPECT_FALSE(sawOne) << "the count went back up";
        }
    }
}

class RecordingModule : public TestModule {
public:
    void HostNotify0() override { calls.push_back(0); }
    void HostNotify1() override { calls.push_back(1); }
    void HostNotify2() override { calls.push_back(2); }
    std::vector<int> calls;
};

TEST(ModuleBase, NotifySequenceCallsSlotsOneZeroTwoThroughTheVtable) {
    RecordingModule module;
    module.NotifySequence();
    EXPECT_EQ(module.calls, (std::vector<int>{1, 0, 2}));
}

TEST(ModuleBase, StartsAcceptingWithHostFlagSetAndNoHosts) {
    CModule module;
    EXPECT_TRUE(module.GetHostFlag());
    EXPECT_EQ(module.GetSetup(), nullptr);
    EXPECT_EQ(module.GetDialogHost(), nullptr);
    EXPECT_EQ(module.GetName(), L"");
    EXPECT_EQ(module.GetFileName(), L"");
    EXPECT_TRUE(module.TryBeginEvent());
    module.EndEvent();
}

}  // namespace
