// The call log, the per-operation counts and the observers.
#include <tuple>
#include <vector>

#include "SimTest.h"

namespace {

using CallLogTest = SimTest;
using Calls = std::vector<std::tuple<std::string, std::vector<std::string>, std::string>>;

Calls Logged() {
    Calls calls;
    for (const auto& c : pfsim::CallLog()) calls.emplace_back(c.op, c.args, c.result);
    return calls;
}

TEST_F(CallLogTest, RecordsEveryCallWithArgumentsAndAnswerInOrder) {
    int32_t type = 0, access = 0, value = 0;
    pfGetNumPort();
    pfGetPortInfo(1);
    pfOpenPort(0, 0);
    pfGetNumProperties(0);
    pfGetPropertyInfo(0, 0, &type, &access);
    pfSetCameraPropertyI(0, "Window.Mode", 3);
    pfGetCameraPropertyI(0, "Window.W");
    pfSetCameraPropertyF(0, "ExposureTime", 0.1f);
    pfGetCameraPropertyF(0, "ExposureTime");
    pfGetCameraPropertyInt(0, "Window.H.Max", &value);
    pfGetCameraPropertyInt(0, "Nope", &value);
    pfGetErrorMsg(0);
    pfClosePort(0);
    pfGetCameraPropertyI(0, nullptr);
    const Calls expected = {
        {"pfGetNumPort", {}, "2"},
        {"pfGetPortInfo", {"1"}, "CL port 1 (simulated)"},
        {"pfOpenPort", {"0", "0"}, "0"},
        {"pfGetNumProperties", {"0"}, "49"},
        {"pfGetPropertyInfo", {"0", "0"}, "Window.Mode"},
        {"pfSetCameraPropertyI", {"0", "Window.Mode", "3"}, "0"},
        {"pfGetCameraPropertyI", {"0", "Window.W"}, "512"},
        {"pfSetCameraPropertyF", {"0", "ExposureTime", "0.1"}, "0"},
        {"pfGetCameraPropertyF", {"0", "ExposureTime"}, "0.1"},
        {"pfGetCameraPropertyInt", {"0", "Window.H.Max"}, "0 value=1024"},
        {"pfGetCameraPropertyInt", {"0", "Nope"}, "103"},
        {"pfGetErrorMsg", {"0"}, "null"},
        {"pfClosePort", {"0"}, "0"},
        {"pfGetCameraPropertyI", {"0", "null"}, "0"},
    };
    EXPECT_EQ(Logged(), expected);
    EXPECT_EQ(pfsim::CallCount("pfGetCameraPropertyI"), 2u);
    EXPECT_EQ(pfsim::TotalCallCount(), expected.size());
}

TEST_F(CallLogTest, CountsGoOnWithTheLogOff) {
    pfsim::EnableCallLog(false);
    pfOpenPort(0, 0);
    for (int i = 0; i < 5; ++i) pfGetCameraPropertyI(0, "Window.W");
    pfGetCameraPropertyI(7, "Window.W");
    EXPECT_TRUE(pfsim::CallLog().empty());
    EXPECT_EQ(pfsim::CallCount("pfGetCameraPropertyI"), 6u);
    EXPECT_EQ(pfsim::CallCount("pfOpenPort"), 1u);
    EXPECT_EQ(pfsim::CallCount("pfNoSuchCall"), 0u);
    EXPECT_EQ(pfsim::TotalCallCount(), 7u);

    pfsim::EnableCallLog(true);
    pfGetNumPort();
    EXPECT_EQ(pfsim::CallLog().size(), 1u);
    pfsim::ClearCallLog();
    EXPECT_TRUE(pfsim::CallLog().empty());
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

TEST_F(CallLogTest, ResetClosesPortsAndClearsTheLog) {
    pfOpenPort(0, 0);
    pfOpenPort(1, 0);
    pfSetCameraPropertyI(1, "Trigger.Source", 2);
    pfsim::Reset();
    EXPECT_EQ(pfsim::OpenPortCount(), 0);
    EXPECT_EQ(pfsim::GetProperty(1, "Trigger.Source"), 0.0);
    EXPECT_TRUE(pfsim::CallLog().empty());
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

TEST_F(CallLogTest, LogKeepsTheLatestCalls) {
    pfOpenPort(0, 0);
    for (size_t i = 0; i < pfsim::kMaxLoggedCalls; ++i) pfGetNumPort();
    const auto log = pfsim::CallLog();
    ASSERT_EQ(log.size(), pfsim::kMaxLoggedCalls);
    EXPECT_EQ(log.front().op, "pfGetNumPort");
    EXPECT_EQ(pfsim::TotalCallCount(), pfsim::kMaxLoggedCalls + 1);
}

TEST_F(CallLogTest, WriteObserverSeesSentAndHeldValuesAndTheAnswer) {
    using W = std::tuple<int32_t, std::string, double, double, int32_t>;
    std::vector<W> writes;
    pfsim::SetWriteObserver(
        [&](int32_t port, const std::string& name, double sent, double held, int32_t code) {
            writes.emplace_back(port, name, sent, held, code);
            pfGetCameraPropertyI(port, name.c_str());  // the lock is released: calling back is safe
        });
    pfSetCameraPropertyI(1, "Trigger.Source", 1);  // port closed: no camera saw it
    pfOpenPort(1, 0);
    pfSetCameraPropertyI(1, "Trigger.Source", 7);
    pfSetCameraPropertyF(1, "ExposureTime", 0.001f);
    pfSetCameraPropertyI(1, "Nope", 4);
    EXPECT_EQ(writes, (std::vector<W>{{1, "Trigger.Source", 7, 2, 0},
                                      {1, "ExposureTime", double{0.001f}, double{0.01f}, 0},
                                      {1, "Nope", 4, 0, pfsim::kErrUnknownProperty}}));
    pfsim::SetWriteObserver({});
    pfSetCameraPropertyI(1, "Trigger.Source", 0);
    EXPECT_EQ(writes.size(), 3u);
}

TEST_F(CallLogTest, PortObserverSeesOpeningsAndClosings) {
    ASSERT_TRUE(pfsim::LoadModelFile(ModelPath("faulty.json")));
    std::vector<std::tuple<int32_t, bool, int32_t>> events;
    pfsim::SetPortObserver(
        [&](int32_t port, bool open, int32_t code) { events.emplace_back(port, open, code); });
    pfOpenPort(0, 0);
    pfOpenPort(2, 0);
    pfOpenPort(9, 0);
    pfClosePort(1);  // not open: nothing closes
    pfClosePort(0);
    using E = std::tuple<int32_t, bool, int32_t>;
    EXPECT_EQ(events,
              (std::vector<E>{
                  {0, true, 0}, {2, true, 5}, {9, true, pfsim::kErrNoSuchPort}, {0, false, 0}}));
}

}  // namespace
