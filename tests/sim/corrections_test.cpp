// How the simulated camera corrects writes: ranges, increments, window geometry and commands.
#include <cstdint>
#include <limits>
#include <random>

#include "SimTest.h"

namespace {

class CorrectionsTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        ASSERT_EQ(pfOpenPort(0, 0), 0);
    }
    static void Set(const char* name, int32_t value) { pfSetCameraPropertyI(0, name, value); }
    static int32_t Get(const char* name) { return pfGetCameraPropertyI(0, name); }
    static void ExpectWindow(int32_t w, int32_t h, int32_t x, int32_t y) {
        EXPECT_EQ(Get("Window.W"), w);
        EXPECT_EQ(Get("Window.H"), h);
        EXPECT_EQ(Get("Window.X"), x);
        EXPECT_EQ(Get("Window.Y"), y);
    }
};

TEST_F(CorrectionsTest, WritesAreClampedToTheRange) {
    EXPECT_EQ(pfSetCameraPropertyI(0, "Trigger.Source", 7), 0);
    EXPECT_EQ(Get("Trigger.Source"), 2);
    Set("Trigger.Source", std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Get("Trigger.Source"), 0);
    pfSetCameraPropertyF(0, "ExposureTime", 5000.0f);
    EXPECT_EQ(pfGetCameraPropertyF(0, "ExposureTime"), 1000.0f);
    pfSetCameraPropertyF(0, "ExposureTime", -std::numeric_limits<float>::infinity());
    EXPECT_EQ(pfGetCameraPropertyF(0, "ExposureTime"), 0.01f);
}

TEST_F(CorrectionsTest, WritesSnapToTheNearestIncrementFromMin) {
    LoadCamera(R"({"name": "A", "type": "int", "value": 3, "min": 3, "max": 13, "increment": 4},
                  {"name": "R", "type": "real", "value": 1, "min": 0.5, "max": 2, "increment": 0.25})");
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    const std::pair<int32_t, int32_t> ints[] = {{8, 7}, {9, 11}, {10, 11}, {13, 11}, {2, 3}};
    for (auto [sent, held] : ints) {
        Set("A", sent);
        EXPECT_EQ(Get("A"), held) << "sent " << sent;
    }
    pfSetCameraPropertyF(0, "R", 1.3f);
    EXPECT_EQ(pfGetCameraPropertyF(0, "R"), 1.25f);
    pfSetCameraPropertyI(0, "R", 2);
    EXPECT_EQ(pfGetCameraPropertyF(0, "R"), 2.0f);
    pfSetCameraPropertyF(0, "A", 6.9f);  // reals written to an integer snap as well
    EXPECT_EQ(Get("A"), 7);
}

TEST_F(CorrectionsTest, RealsAreHeldInSinglePrecision) {
    pfSetCameraPropertyF(0, "ExposureTime", 0.1f);
    EXPECT_EQ(pfGetCameraPropertyF(0, "ExposureTime"), 0.1f);
    EXPECT_EQ(Held("ExposureTime"), static_cast<double>(0.1f));
    EXPECT_EQ(Get("ExposureTime"), 0);  // integer reads truncate
    pfSetCameraPropertyF(0, "ExposureTime", 999.9f);
    EXPECT_EQ(Get("ExposureTime"), 999);
}

TEST_F(CorrectionsTest, RejectedWritesChangeNothing) {
    EXPECT_EQ(pfSetCameraPropertyI(0, "NoSuch.Property", 1), pfsim::kErrUnknownProperty);
    EXPECT_EQ(Get("NoSuch.Property"), 0);
    EXPECT_EQ(pfSetCameraPropertyI(0, "Window.W.Max", 512), pfsim::kErrReadOnly);
    EXPECT_EQ(Get("Window.W.Max"), 1024);
    EXPECT_EQ(pfSetCameraPropertyI(0, "DigitalGain.2x", 1), pfsim::kErrNoValue);
    EXPECT_EQ(pfSetCameraPropertyF(0, "ExposureTime", std::numeric_limits<float>::quiet_NaN()),
              pfsim::kErrNotANumber);
    EXPECT_EQ(pfGetCameraPropertyF(0, "ExposureTime"), 10.0f);
    EXPECT_EQ(pfSetCameraPropertyI(0, nullptr, 1), pfsim::kErrUnknownProperty);
    EXPECT_EQ(pfSetCameraPropertyI(1, "Window.W", 5), pfsim::kErrPortNotOpen);
    EXPECT_EQ(Held("Window.W", 1), 1024);
}

TEST_F(CorrectionsTest, WindowModeSetsTheSizeAndKeepsOffsetsThatFit) {
    const int32_t sizes[][2] = {{1024, 1024}, {1024, 512}, {1024, 256}, {512, 512}};
    for (int32_t mode = 3; mode >= 0; --mode) {
        Set("Window.Mode", mode);
        EXPECT_EQ(Get("Window.Mode"), mode);
        EXPECT_EQ(Get("Window.W"), sizes[mode][0]);
        EXPECT_EQ(Get("Window.H"), sizes[mode][1]);
    }
    Set("Window.Mode", 3);
    Set("Window.X", 480);
    Set("Window.Y", 500);
    Set("Window.Mode", 1);
    ExpectWindow(1024, 512, 0, 500);
    Set("Window.Mode", 0);
    ExpectWindow(1024, 1024, 0, 0);
}

TEST_F(CorrectionsTest, OffsetPlusSizeNeverExceedsTheSensor) {
    Set("Window.W", 512);
    Set("Window.X", 100);
    EXPECT_EQ(Get("Window.X"), 96);
    Set("Window.X", 600);
    EXPECT_EQ(Get("Window.X"), 512);
    Set("Window.W", 800);  // a larger size pulls the offset down onto its grid
    EXPECT_EQ(Get("Window.X"), 224);
    Set("Window.H", 1000);
    Set("Window.Y", 100);
    EXPECT_EQ(Get("Window.Y"), 24);

    std::mt19937 random(7);
    const char* names[] = {"Window.W", "Window.H", "Window.X", "Window.Y", "Window.Mode"};
    for (int i = 0; i < 2000; ++i) {
        Set(names[random() % 5], static_cast<int32_t>(random() % 1400) - 100);
        const int32_t w = Get("Window.W"), h = Get("Window.H");
        const int32_t x = Get("Window.X"), y = Get("Window.Y");
        ASSERT_TRUE(w >= 1 && h >= 1 && x >= 0 && y >= 0 && x % 32 == 0);
        ASSERT_LE(x + w, 1024);
        ASSERT_LE(y + h, 1024);
    }
}

TEST_F(CorrectionsTest, WindowMaxOpensTheWholeSensor) {
    Set("Window.Mode", 3);
    Set("Window.X", 256);
    Set("Window.Y", 256);
    Set("Window.Max", 0);
    ExpectWindow(512, 512, 256, 256);
    Set("Window.Max", 1);
    ExpectWindow(1024, 1024, 0, 0);
    EXPECT_EQ(Get("Window.Max"), 0);
}

TEST_F(CorrectionsTest, SmallerSensorLimitsSizesModesAndMaxWindow) {
    ASSERT_TRUE(pfsim::SetProperty(0, "Window.W.Max", 512));
    EXPECT_EQ(Get("Window.W.Max"), 512);
    EXPECT_EQ(Get("Window.W"), 512);
    Set("Window.Mode", 1);
    ExpectWindow(512, 512, 0, 0);
    Set("Window.X", 64);
    EXPECT_EQ(Get("Window.X"), 0);
    Set("Window.Max", 1);
    ExpectWindow(512, 1024, 0, 0);
}

TEST_F(CorrectionsTest, StoreDefaultsResetAndFactoryReset) {
    Set("Reset", 1);  // nothing kept yet: the model's values
    EXPECT_EQ(Get("Trigger.Source"), 0);

    Set("Trigger.Source", 2);
    pfSetCameraPropertyF(0, "ExposureTime", 5.0f);
    Set("StoreDefaults", 1);
    Set("Trigger.Source", 1);
    pfSetCameraPropertyF(0, "ExposureTime", 7.0f);
    Set("Reset", 1);
    EXPECT_EQ(Get("Trigger.Source"), 2);
    EXPECT_EQ(pfGetCameraPropertyF(0, "ExposureTime"), 5.0f);
    EXPECT_EQ(Get("StoreDefaults"), 0);

    Set("FactoryReset", 1);
    EXPECT_EQ(Get("Trigger.Source"), 0);
    EXPECT_EQ(pfGetCameraPropertyF(0, "ExposureTime"), 10.0f);
    Set("Trigger.Source", 1);
    Set("Reset", 1);  // the factory reset forgot the kept values
    EXPECT_EQ(Get("Trigger.Source"), 0);

    Set("Trigger.Source", 2);
    Set("StoreDefaults", 1);
    pfsim::Reset();
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    Set("Reset", 1);
    EXPECT_EQ(Get("Trigger.Source"), 0);
}

TEST_F(CorrectionsTest, ModelGivesTheWindowModeSizes) {
    LoadCamera(R"({"name": "Window.Mode", "type": "int", "value": 0, "min": 0, "max": 4},
                  {"name": "Window.W", "type": "int", "value": 2048, "min": 1, "max": 2048},
                  {"name": "Window.H", "type": "int", "value": 2048, "min": 1, "max": 2048})",
               "", R"(, "window_modes": [[2048, 2048], [2048, 1024], [2048, 512], [1024, 1024]])");
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    Set("Window.Mode", 1);
    EXPECT_EQ(Get("Window.H"), 1024);
    Set("Window.Mode", 0);
    EXPECT_EQ(Get("Window.W"), 2048);
    EXPECT_EQ(Get("Window.H"), 2048);
    Set("Window.Mode", 3);
    Set("Window.Mode", 4);  // a mode without a size keeps the window
    EXPECT_EQ(Get("Window.W"), 1024);
    EXPECT_EQ(Get("Window.H"), 1024);
}

TEST_F(CorrectionsTest, ModelGivesTheCommandRoles) {
    LoadCamera(R"({"name": "Gain", "type": "int", "value": 0, "min": 0, "max": 9},
                  {"name": "Save", "type": "int", "value": 0, "min": 0, "max": 1},
                  {"name": "Load", "type": "int", "value": 0, "min": 0, "max": 1},
                  {"name": "Reset", "type": "int", "value": 0, "min": 0, "max": 1})",
               "", R"(, "commands": {"Save": "store_defaults", "Load": "reset"})");
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    Set("Gain", 5);
    Set("Save", 1);
    Set("Gain", 7);
    Set("Reset", 1);  // no longer a command: an ordinary value
    EXPECT_EQ(Get("Reset"), 1);
    EXPECT_EQ(Get("Gain"), 7);
    Set("Load", 1);
    EXPECT_EQ(Get("Gain"), 5);
    EXPECT_EQ(Get("Save"), 0);
}

TEST_F(CorrectionsTest, EachPortHasItsOwnCamera) {
    ASSERT_EQ(pfOpenPort(1, 0), 0);
    Set("Trigger.Source", 2);
    EXPECT_EQ(pfGetCameraPropertyI(1, "Trigger.Source"), 0);
}

TEST_F(CorrectionsTest, DirectAccessBypassesPortsAndReadOnlyButNotCorrections) {
    const uint64_t calls = pfsim::TotalCallCount();
    EXPECT_TRUE(pfsim::SetProperty(1, "Decimation.Y.Max", 3));
    EXPECT_EQ(pfsim::GetProperty(1, "Decimation.Y.Max"), 3.0);
    EXPECT_TRUE(pfsim::SetProperty(1, "Trigger.Source", 9));
    EXPECT_EQ(pfsim::GetProperty(1, "Trigger.Source"), 2.0);
    EXPECT_FALSE(pfsim::SetProperty(1, "NoSuch", 1));
    EXPECT_FALSE(pfsim::SetProperty(2, "Trigger.Source", 1));
    EXPECT_FALSE(pfsim::SetProperty(1, "Trigger.Source", NAN));
    EXPECT_EQ(pfsim::GetProperty(1, "DigitalGain.1x"), std::nullopt);
    EXPECT_EQ(pfsim::GetProperty(-1, "Trigger.Source"), std::nullopt);
    EXPECT_EQ(pfsim::TotalCallCount(), calls);
}

}  // namespace
