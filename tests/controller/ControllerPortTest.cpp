// The controller's port: the Port entry, opening and closing, and the controller's lifetime.
#include <platform/DebugOutput.h>

#include <clocale>
#include <memory>
#include <string>

#include "ControllerTestSupport.h"

using namespace ctltest;

namespace {

class ControllerPort : public ControllerTest {};

TEST_F(ControllerPort, ConstructionCallsNothingAndStartsClosed) {
    Load(FullModel());
    CAmbrelController ctl;
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
    EXPECT_EQ(ctl.m_port, -1);
    EXPECT_TRUE(ctl.m_settings.empty());
    EXPECT_TRUE(ctl.m_adjustments.empty());
    EXPECT_TRUE(ctl.m_cameraCommands.empty());
}

TEST_F(ControllerPort, NoSerialPortLeavesEveryListEmpty) {
    Load(R"({"ports":[]})");
    CAmbrelController ctl;
    ctl.Refresh();
    EXPECT_TRUE(ctl.m_settings.empty());
    EXPECT_TRUE(ctl.m_adjustments.empty());
    EXPECT_TRUE(ctl.m_cameraCommands.empty());
}

TEST_F(ControllerPort, ClosedPortListsOnlyThePortsAndAsksNoProperty) {
    Load(FullModel());
    CAmbrelController ctl;
    ctl.Refresh();
    ASSERT_EQ(SettingIds(ctl), (std::vector<int32_t>{0}));
    EXPECT_EQ(ctl.m_settings[0].name, L"Port");
    EXPECT_EQ(OptionsOf(&ctl.m_settings[0]),
              (Options{{-1, L"Not selected"}, {0, L"CL port 0"}, {1, L"CL port 1"}}));
    EXPECT_EQ(ctl.m_settings[0].setting->GetValue(), -1);
    EXPECT_TRUE(ctl.m_adjustments.empty());
    EXPECT_TRUE(ctl.m_cameraCommands.empty());
    EXPECT_EQ(Calls(),
              (std::vector<std::string>{"pfGetNumPort()", "pfGetPortInfo(0)", "pfGetPortInfo(1)"}));
}

TEST_F(ControllerPort, PortWithoutDescriptionIsSkippedAndLaterIndicesKept) {
    Load(Model({}, {R"("description":null)", R"("description":"second")"}));
    CAmbrelController ctl;
    ctl.Refresh();
    EXPECT_EQ(OptionsOf(FindSetting(ctl, kIdPort)),
              (Options{{-1, L"Not selected"}, {1, L"second"}}));
}

TEST_F(ControllerPort, DescriptionTheCodePageCannotConvertKeepsEveryByte) {
    // In the "C" locale no byte above 0x7F converts; each stays readable as U+0080..U+00FF.
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "C");
    Load(Model({}, {"\"description\":\"Caf\\u00e9 port\""}));
    CAmbrelController ctl;
    ctl.Refresh();
    std::setlocale(LC_CTYPE, saved.c_str());
    EXPECT_EQ(OptionsOf(FindSetting(ctl, kIdPort)),
              (Options{{-1, L"Not selected"}, {0, L"Caf\u00C3\u00A9 port"}}));
}

TEST_F(ControllerPort, OpeningAPortListsItsCamera) {
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 1);
    EXPECT_TRUE(pfsim::IsPortOpen(1));
    EXPECT_EQ(FindSetting(ctl, kIdPort)->setting->GetValue(), 1);
    EXPECT_EQ(SettingIds(ctl), (std::vector<int32_t>{8, 0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(ctl.m_cameraCommands.size(), 4u);
    EXPECT_EQ(ctl.m_adjustments.size(), 5u);
}

TEST_F(ControllerPort, FailedOpenClosesTheOldPortAndReportsOneLine) {
    Load(Model({}, {R"("description":"a")",
                    R"j("description":"b","open_error":{"code":5,"message":"port busy"})j"}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    plat::DebugCapture capture;
    pfsim::ClearCallLog();
    EXPECT_TRUE(ctl.SetSetting(kIdPort, 1));
    EXPECT_EQ(ctl.m_port, -1);
    EXPECT_FALSE(pfsim::IsPortOpen(0));
    EXPECT_EQ(pfsim::CallCount("pfClosePort"), 1u);
    EXPECT_EQ(
        capture.Lines(),
        (std::vector<std::wstring>{L"=================Open Port Error:port busy(5) ======="}));
    EXPECT_EQ(FindSetting(ctl, kIdPort)->setting->GetValue(), -1);
    EXPECT_TRUE(ctl.m_cameraCommands.empty());
}

TEST_F(ControllerPort, FailedOpenWithoutMessageReportsNull) {
    Load(Model({}, {R"j("description":"a","open_error":{"code":-7})j"}));
    CAmbrelController ctl;
    ctl.Refresh();
    plat::DebugCapture capture;
    ctl.SetSetting(kIdPort, 0);
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::wstring>{L"=================Open Port Error:(null)(-7) ======="}));
}

TEST_F(ControllerPort, NotSelectedClosesThePortWithoutOpeningAnother) {
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    pfsim::ClearCallLog();
    EXPECT_TRUE(ctl.SetSetting(kIdPort, -1));
    EXPECT_EQ(ctl.m_port, -1);
    EXPECT_EQ(pfsim::CallCount("pfClosePort"), 1u);
    EXPECT_EQ(pfsim::CallCount("pfOpenPort"), 0u);
    EXPECT_EQ(SettingIds(ctl), (std::vector<int32_t>{0}));
}

TEST_F(ControllerPort, ChoosingTheOpenPortClosesAndReopensIt) {
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    pfsim::ClearCallLog();
    ctl.SetSetting(kIdPort, 0);
    const std::vector<std::string> calls = Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "pfClosePort(0)");
    EXPECT_EQ(calls[1], "pfOpenPort(0,0)");
    EXPECT_EQ(ctl.m_port, 0);
}

TEST_F(ControllerPort, DestructionClosesTheOpenPortOnce) {
    Load(Model({}, {R"("description":"a")", R"("description":"b")", R"("description":"c")"}));
    auto ctl = std::make_unique<CAmbrelController>();
    OpenPort(*ctl, 2);
    pfsim::ClearCallLog();
    ctl.reset();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"pfClosePort(2)"}));
}

TEST_F(ControllerPort, DestructionWithoutPortCallsNothing) {
    Load(FullModel());
    auto ctl = std::make_unique<CAmbrelController>();
    ctl->Refresh();
    pfsim::ClearCallLog();
    ctl.reset();
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

TEST_F(ControllerPort, UnknownSettingIdChangesNothing) {
    Load(FullModel());
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    const size_t settings = ctl.m_settings.size();
    const SettingInfo* first = &ctl.m_settings[0];
    pfsim::ClearCallLog();
    EXPECT_FALSE(ctl.SetSetting(99, 1));
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
    EXPECT_EQ(ctl.m_settings.size(), settings);
    EXPECT_EQ(&ctl.m_settings[0], first);
}

}  // namespace
