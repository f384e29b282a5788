// Several threads calling the library and its control API at once.
#include <atomic>
#include <thread>
#include <vector>

#include "SimTest.h"

namespace {

using ThreadsTest = SimTest;

TEST_F(ThreadsTest, ConcurrentCallsAreCountedAndKeepTheWindowConsistent) {
    constexpr int kCallers = 4;
    constexpr int kRounds = 300;
    std::atomic<int> writesSeen{0};
    pfsim::SetWriteObserver(
        [&](int32_t, const std::string&, double, double, int32_t) { ++writesSeen; });
    std::atomic<bool> done{false};

    std::vector<std::thread> callers;
    for (int t = 0; t < kCallers; ++t) {
        callers.emplace_back([t] {
            const int32_t port = t % 2;
            for (int i = 0; i < kRounds; ++i) {
                pfOpenPort(port, 0);
                pfSetCameraPropertyI(port, "Window.Mode", (i + t) % 4);
                pfSetCameraPropertyI(port, "Window.X", (i * 37) % 1024);
                pfSetCameraPropertyF(port, "ExposureTime", static_cast<float>(i));
                int32_t w = 0, x = 0;
                pfGetCameraPropertyInt(port, "Window.W", &w);
                pfGetCameraPropertyInt(port, "Window.X", &x);
                for (int32_t j = 0; j < pfGetNumProperties(port); ++j) {
                    pfGetPropertyInfo(port, j, nullptr, nullptr);
                }
                if (i % 50 == 0) pfClosePort(port);
            }
        });
    }
    std::thread controller([&done] {
        while (!done) {
            pfsim::GetProperty(0, "Window.W");
            pfsim::SetProperty(1, "Trigger.Source", 1);
            pfsim::CallLog();
            pfsim::TotalCallCount();
            pfsim::EnableCallLog(true);
            pfsim::SetPortObserver([](int32_t, bool, int32_t) {});
        }
    });
    for (auto& c : callers) c.join();
    done = true;
    controller.join();

    EXPECT_EQ(pfsim::CallCount("pfOpenPort"), uint64_t{kCallers * kRounds});
    EXPECT_EQ(pfsim::CallCount("pfSetCameraPropertyI"), uint64_t{2 * kCallers * kRounds});
    EXPECT_EQ(pfsim::CallCount("pfGetCameraPropertyInt"), uint64_t{2 * kCallers * kRounds});
    EXPECT_GT(writesSeen.load(), 0);
    for (int32_t port : {0, 1}) {
        const double w = pfsim::GetProperty(port, "Window.W").value_or(0);
        const double x = pfsim::GetProperty(port, "Window.X").value_or(0);
        EXPECT_LE(x + w, 1024);
    }
}

}  // namespace
