// Faults a model can ask for, and calls the library must survive: closed ports, odd reads, delays.
#include <chrono>
#include <cmath>
#include <limits>

#include "SimTest.h"

namespace {

constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();
constexpr int32_t kMinInt = std::numeric_limits<int32_t>::min();
constexpr float kInf = std::numeric_limits<float>::infinity();

class FaultsTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        std::string error;
        ASSERT_TRUE(pfsim::LoadModelFile(ModelPath("faulty.json"), &error)) << error;
    }
};

TEST_F(FaultsTest, NullRowAnswersNullAndLeavesOutValues) {
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    EXPECT_EQ(pfGetNumProperties(0), 21);
    int32_t type = -7, access = -7;
    EXPECT_EQ(pfGetPropertyInfo(0, 1, &type, &access), nullptr);
    EXPECT_EQ(type, -7);
    EXPECT_EQ(access, -7);
    EXPECT_STREQ(pfGetPropertyInfo(0, 2, &type, &access), "Window.Mode.Window_512x512");
    EXPECT_EQ(type, pfsim::kTypeBare);
    EXPECT_EQ(access, pfsim::kAccessNone);
    EXPECT_EQ(pfGetPropertyInfo(0, 21, &type, &access), nullptr);
    EXPECT_EQ(pfGetPropertyInfo(0, -1, &type, &access), nullptr);
}

TEST_F(FaultsTest, OddReadsAreAnsweredWithoutUndefinedBehaviour) {
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    EXPECT_EQ(pfGetCameraPropertyI(0, "DigitalGain"), -3);
    EXPECT_EQ(pfGetCameraPropertyI(0, "Crosshairs.X.Min"), -1);
    EXPECT_EQ(pfGetCameraPropertyI(0, "Decimation.Y.Min"), 3);
    EXPECT_EQ(pfGetCameraPropertyI(0, "Decimation.Y.Max"), 2);

    EXPECT_TRUE(std::isnan(pfGetCameraPropertyF(0, "ExposureTime")));
    EXPECT_EQ(pfGetCameraPropertyI(0, "ExposureTime"), 0);
    EXPECT_EQ(pfGetCameraPropertyF(0, "FrameTime"), kInf);
    EXPECT_EQ(pfGetCameraPropertyI(0, "FrameTime"), kMaxInt);
    EXPECT_EQ(pfGetCameraPropertyF(0, "FrameTime.Min"), -kInf);
    EXPECT_EQ(pfGetCameraPropertyF(0, "FrameTime.Max"), -kInf);
    EXPECT_EQ(pfGetCameraPropertyI(0, "FrameTime.Max"), kMinInt);
    EXPECT_EQ(pfGetCameraPropertyF(0, "Crosshairs.Value"), 1e12f);
    int32_t value = 0;
    EXPECT_EQ(pfGetCameraPropertyInt(0, "Crosshairs.Value", &value), 0);
    EXPECT_EQ(value, kMaxInt);

    // Faults change what reads answer, not what the camera holds or takes.
    EXPECT_EQ(pfsim::GetProperty(0, "ExposureTime"), 10.0);
    EXPECT_EQ(pfSetCameraPropertyF(0, "ExposureTime", 5.0f), 0);
    EXPECT_EQ(pfsim::GetProperty(0, "ExposureTime"), 5.0);
    EXPECT_TRUE(std::isnan(pfGetCameraPropertyF(0, "ExposureTime")));
}

TEST_F(FaultsTest, FailingPortAnswersItsCodeAndMessage) {
    EXPECT_EQ(pfGetNumPort(), 3);
    EXPECT_EQ(pfGetPortInfo(1), nullptr);
    EXPECT_EQ(pfGetErrorMsg(2), nullptr);
    EXPECT_EQ(pfOpenPort(2, 0), 5);
    EXPECT_STREQ(pfGetErrorMsg(2), "No camera answers on CL port 2 (simulated)");
    EXPECT_FALSE(pfsim::IsPortOpen(2));
    EXPECT_EQ(pfGetNumProperties(2), 0);
    EXPECT_EQ(pfClosePort(2), pfsim::kErrPortNotOpen);
}

TEST_F(FaultsTest, PortsOutOfRangeFailWithAMessage) {
    for (int32_t port : {3, -1, kMaxInt, kMinInt}) {
        EXPECT_EQ(pfOpenPort(port, 0), pfsim::kErrNoSuchPort);
        ASSERT_NE(pfGetErrorMsg(port), nullptr);
        EXPECT_EQ(std::string(pfGetErrorMsg(port)),
                  "Port " + std::to_string(port) + " does not exist (3 ports)");
        EXPECT_EQ(pfGetPortInfo(port), nullptr);
        EXPECT_EQ(pfClosePort(port), pfsim::kErrNoSuchPort);
        EXPECT_EQ(pfGetCameraPropertyI(port, "DigitalGain"), 0);
    }
    EXPECT_EQ(pfGetErrorMsg(4), nullptr);
    EXPECT_EQ(pfsim::OpenPortCount(), 0);
}

TEST_F(FaultsTest, SecondOpenOfAnOpenPortSucceeds) {
    EXPECT_EQ(pfOpenPort(0, 0), 0);
    EXPECT_EQ(pfOpenPort(0, 0), 0);
    EXPECT_EQ(pfsim::OpenPortCount(), 1);
    EXPECT_EQ(pfClosePort(0), 0);
    EXPECT_FALSE(pfsim::IsPortOpen(0));
}

TEST_F(FaultsTest, ClosedPortAnswersNothing) {
    int32_t value = 42;
    EXPECT_EQ(pfGetNumProperties(0), 0);
    EXPECT_EQ(pfGetPropertyInfo(0, 0, nullptr, nullptr), nullptr);
    EXPECT_EQ(pfGetCameraPropertyI(0, "DigitalGain"), 0);
    EXPECT_EQ(pfGetCameraPropertyF(0, "FrameTime"), 0.0f);
    EXPECT_EQ(pfGetCameraPropertyInt(0, "Window.Mode", &value), pfsim::kErrPortNotOpen);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(pfSetCameraPropertyI(0, "Window.Mode", 3), pfsim::kErrPortNotOpen);
    EXPECT_EQ(pfsim::GetProperty(0, "Window.Mode"), 0.0);
    EXPECT_EQ(pfsim::CallCount("pfGetCameraPropertyI"), 1u);
    EXPECT_EQ(pfsim::CallLog().size(), 6u);
}

TEST_F(FaultsTest, UnlistedBareAndNullReadsLeaveTheOutValue) {
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    int32_t value = 42;
    EXPECT_EQ(pfGetCameraPropertyI(0, "NoSuch"), 0);
    EXPECT_EQ(pfGetCameraPropertyF(0, "DigitalGain.1x"), 0.0f);
    EXPECT_EQ(pfGetCameraPropertyI(0, nullptr), 0);
    EXPECT_EQ(pfGetCameraPropertyInt(0, "NoSuch", &value), pfsim::kErrUnknownProperty);
    EXPECT_EQ(pfGetCameraPropertyInt(0, "DigitalGain.1x", &value), pfsim::kErrNoValue);
    EXPECT_EQ(pfGetCameraPropertyInt(0, nullptr, &value), pfsim::kErrUnknownProperty);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(pfGetCameraPropertyInt(0, "Window.Mode", nullptr), pfsim::kErrNullPointer);
}

// At 9600 baud, reading "ExposureTime" (12 characters) that answers "10" costs
// (2 + 12) + (2 + 2) = 18 characters of 10 bits: 18.75 ms.
TEST_F(FaultsTest, SlowLinkDelaysEveryPropertyCall) {
    LoadCamera(R"({"name": "ExposureTime", "type": "real", "value": 10})", R"(, "baud": 9600)");
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    pfsim::EnableCallLog(false);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(pfGetCameraPropertyF(0, "ExposureTime"), 10.0f);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::microseconds(4 * 18750));
}

TEST_F(FaultsTest, DelaysCanBeSwitchedOff) {
    // 300 baud, the slowest a model takes: about 0.6 s a call if the delay were applied.
    LoadCamera(R"({"name": "ExposureTime", "type": "real", "value": 10})", R"(, "baud": 300)");
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    pfsim::EnableDelays(false);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(pfGetCameraPropertyF(0, "ExposureTime"), 10.0f);
    EXPECT_EQ(pfSetCameraPropertyF(0, "ExposureTime", 2.0f), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
}

}  // namespace
