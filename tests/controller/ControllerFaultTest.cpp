// The controller against a scripted camera library giving answers no real camera should.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "AmbrelController.h"
#include "pfConfig.h"

namespace {

// What the scripted library answers, and how often it was asked.
struct Script {
    int32_t ports = 0;
    int32_t properties = 0;
    int64_t portInfoCalls = 0;
    int64_t propertyInfoCalls = 0;
};
Script g_script;

}  // namespace

extern "C" {
int32_t pfGetNumPort(void) {
    return g_script.ports;
}
const char* pfGetPortInfo(int32_t) {
    ++g_script.portInfoCalls;
    return "port";
}
int32_t pfOpenPort(int32_t, int32_t) {
    return 0;
}
int32_t pfClosePort(int32_t) {
    return 0;
}
const char* pfGetErrorMsg(int32_t) {
    return nullptr;
}
int32_t pfGetNumProperties(int32_t) {
    return g_script.properties;
}
const char* pfGetPropertyInfo(int32_t, int32_t, int32_t*, int32_t*) {
    ++g_script.propertyInfoCalls;
    return "Other";
}
int32_t pfGetCameraPropertyI(int32_t, const char*) {
    return 0;
}
int32_t pfSetCameraPropertyI(int32_t, const char*, int32_t) {
    return 0;
}
float pfGetCameraPropertyF(int32_t, const char*) {
    return 0.0f;
}
int32_t pfSetCameraPropertyF(int32_t, const char*, float) {
    return 0;
}
int32_t pfGetCameraPropertyInt(int32_t, const char*, int32_t*) {
    return 0;
}
}

namespace {

class ControllerFaults : public ::testing::Test {
protected:
    void SetUp() override { g_script = Script{}; }
};

TEST_F(ControllerFaults, HugePortCountIsCapped) {
    g_script.ports = INT32_MAX;
    CAmbrelController ctl;
    ctl.Refresh();
    ASSERT_EQ(ctl.m_settings.size(), 1u);
    EXPECT_EQ(ctl.m_settings[0].options.size(),
              static_cast<size_t>(CAmbrelController::kMaxPorts) + 1);
    EXPECT_EQ(g_script.portInfoCalls, CAmbrelController::kMaxPorts);
    EXPECT_EQ(ctl.m_settings[0].options.back().value, CAmbrelController::kMaxPorts - 1);
}

TEST_F(ControllerFaults, NegativePortCountMeansNoPort) {
    g_script.ports = INT32_MIN;
    CAmbrelController ctl;
    ctl.Refresh();
    EXPECT_TRUE(ctl.m_settings.empty());
    EXPECT_EQ(g_script.portInfoCalls, 0);
}

TEST_F(ControllerFaults, HugePropertyCountScansAtMostTheBound) {
    g_script.ports = 1;
    CAmbrelController ctl;
    ctl.Refresh();
    ctl.SetSetting(kIdPort, 0);
    g_script.properties = INT32_MAX;
    g_script.propertyInfoCalls = 0;
    EXPECT_FALSE(ctl.HasProperty("Window.Mode"));
    EXPECT_EQ(g_script.propertyInfoCalls, CAmbrelController::kMaxProperties);
}

TEST_F(ControllerFaults, NegativePropertyCountScansNothing) {
    g_script.ports = 1;
    g_script.properties = -5;
    CAmbrelController ctl;
    ctl.Refresh();
    ctl.SetSetting(kIdPort, 0);
    EXPECT_FALSE(ctl.HasProperty("Window.Mode"));
    EXPECT_EQ(g_script.propertyInfoCalls, 0);
    EXPECT_EQ(ctl.m_settings.size(), 1u);
}

}  // namespace
