// The host's parts in-process: the setup (modules by name, grabbing, the grabber's region), the
// dialog host (docking and finding pages), and the trace's line forms.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>

#include "CDockedDlg.h"
#include "CModule.h"
#include "CSetupManager.h"
#include "DialogHost.h"
#include "HostPlatform.h"
#include "HostSetup.h"
#include "Trace.h"
#include "ui/Template.h"
#include "ui/Window.h"

namespace host {
namespace {

constexpr ui::UINT kDialogTemplate = 31501;
constexpr ui::UINT kPageTemplate = 31502;
constexpr ui::UINT kOtherPageTemplate = 31503;

class NamedModule : public CModule {
public:
    explicit NamedModule(const wchar_t* name) { SetName(name); }
};

class HostPartsTest : public ::testing::Test {
protected:
    void SetUp() override { trace.Start(); }
    void TearDown() override { trace.Stop(); }

    std::ostringstream out;
    Trace trace{out};
};

TEST_F(HostPartsTest, SetupFindsItsModulesByExactName) {
    CSetupManager manager;
    HostSetup setup(L"Day 1", &manager, trace);
    NamedModule camera(L"Ambrel Control");
    NamedModule other(L"Recorder");
    setup.AddModule(&other);
    setup.AddModule(&camera);

    EXPECT_EQ(setup.FindModule(L"Ambrel Control"), &camera);
    EXPECT_EQ(setup.FindModule(L"ambrel control"), nullptr);
    EXPECT_EQ(setup.FindModule(L"Ambrel"), nullptr);
    setup.RemoveModule(&camera);
    EXPECT_EQ(setup.FindModule(L"Ambrel Control"), nullptr);
    EXPECT_EQ(setup.GetSetupManager(), &manager);
    EXPECT_STREQ(setup.GetName(), L"Day 1");
    EXPECT_TRUE(setup.IsActive());
}

TEST_F(HostPartsTest, TogglesFlipAndCountButTheHostsOwnChangesDoNot) {
    HostSetup setup(L"Default", nullptr, trace);
    setup.SetGrabbing(true);
    setup.SetGrabbing(true);  // already grabbing: nothing happens
    setup.ToggleGrabbing();
    setup.GetGrabModule()->SetROI(0, 0, 1024, 512);
    setup.ToggleGrabbing();
    setup.SetGrabbing(false);

    EXPECT_FALSE(setup.IsGrabbing());
    EXPECT_EQ(setup.ToggleCount(), 2u);
    EXPECT_EQ(setup.Grabber().GetLastROI().height, 512u);
    EXPECT_EQ(out.str(),
              "host: grabbing on\nhost: grabbing off\nhost: roi 0 0 1024 512\n"
              "host: grabbing on\nhost: grabbing off\n");
}

TEST_F(HostPartsTest, TraceShowsACorrectionOnlyWhenTheValueReadsDifferentlyAndARefusalAsSuch) {
    trace.CameraWrite("ExposureTime", 0.123, static_cast<double>(0.123f), 0);
    trace.CameraWrite("Window.X", 100, 96, 0);
    trace.CameraWrite("StoreDefaults", 1, 0, 103);
    trace.CameraPort(2, true, 5);
    const std::wstring port = L"2";
    trace.Profile(L"Setups\\Default\\Ambrel Control", L"Port", &port);
    trace.Profile(L"Setups\\Old", nullptr, nullptr);
    const std::string why = "access denied (error 5)";
    trace.Profile(L"Setups\\Old", L"Port", &port, &why);
    trace.Message(L"Please enter an integer.");
    trace.Debug(L"Port is ====================== 2");
    trace.Stop();
    trace.Debug(L"not traced");
    EXPECT_EQ(out.str(),
              "camera: ExposureTime = 0.123\n"
              "camera: Window.X = 100 -> 96\n"
              "camera: StoreDefaults = 1 failed 103\n"
              "camera: open 2 failed 5\n"
              "host: profile Setups\\Default\\Ambrel Control Port = 2\n"
              "host: profile Setups\\Old deleted\n"
              "host: profile Setups\\Old Port = 2 failed: access denied (error 5)\n"
              "host: message Please enter an integer.\n"
              "debug: Port is ====================== 2\n");
}

ui::DialogTemplate ChildTemplate(ui::UINT id) {
    ui::DialogTemplate t;
    t.id = id;
    t.cx = 100;
    t.cy = 50;
    t.style = ui::WS_CHILD | ui::DS_CONTROL | ui::DS_SETFONT;
    return t;
}

class Page : public ui::CDialog {};

TEST_F(HostPartsTest, DialogHostDocksTheDialogShownAndFindsItsPagesByTemplate) {
    ui::RegisterDialogTemplate(ChildTemplate(kDialogTemplate));
    ui::RegisterDialogTemplate(ChildTemplate(kPageTemplate));
    ui::RegisterDialogTemplate(ChildTemplate(kOtherPageTemplate));
    {
        DialogHost host(trace);
        CDockedDlg dialog(kDialogTemplate, nullptr);
        ASSERT_TRUE(dialog.Create(kDialogTemplate, nullptr));
        Page page;
        ASSERT_TRUE(page.Create(kPageTemplate, &dialog));
        Page other;
        ASSERT_TRUE(other.Create(kOtherPageTemplate, &dialog));
        EXPECT_FALSE(dialog.IsWindowVisible());

        // The main window is a shown top-level window with a frame a person can size.
        const ui::HWND main = host.MainWindow();
        EXPECT_EQ(ui::GetParent(main), nullptr);
        const auto style = static_cast<ui::DWORD>(ui::GetWindowLong(main, ui::GWL_STYLE));
        EXPECT_EQ(style & (ui::WS_CHILD | ui::WS_POPUP), 0u);
        EXPECT_EQ(style & (ui::WS_CAPTION | ui::WS_SYSMENU | ui::WS_THICKFRAME | ui::WS_VISIBLE),
                  ui::WS_CAPTION | ui::WS_SYSMENU | ui::WS_THICKFRAME | ui::WS_VISIBLE);

        host.AddDialog(&dialog);
        EXPECT_EQ(ui::GetParent(dialog.GetSafeHwnd()), main);
        EXPECT_TRUE(dialog.IsWindowVisible());
        // Its client area holds the dialog at its top left corner, and no more.
        ui::RECT client{}, docked{};
        ASSERT_TRUE(ui::GetClientRect(main, &client));
        ASSERT_TRUE(ui::GetWindowRect(dialog.GetSafeHwnd(), &docked));
        EXPECT_EQ(client.Width(), docked.Width());
        EXPECT_EQ(client.Height(), docked.Height());
        ui::POINT origin{};
        ui::ClientToScreen(main, &origin);
        EXPECT_EQ(docked.left, origin.x);
        EXPECT_EQ(docked.top, origin.y);
        // Closing it would take the dialog from under its module.
        ui::SendMessage(main, ui::WM_CLOSE);
        EXPECT_TRUE(ui::IsWindow(main));
        EXPECT_EQ(ui::GetParent(dialog.GetSafeHwnd()), main);
        EXPECT_EQ(host.Dialog(), dialog.GetSafeHwnd());
        EXPECT_EQ(host.FindPage(kOtherPageTemplate), other.GetSafeHwnd());
        EXPECT_EQ(host.FindPage(kPageTemplate), page.GetSafeHwnd());
        EXPECT_EQ(host.FindPage(kDialogTemplate), nullptr);
        EXPECT_EQ(host.PageWindow("dialog"), dialog.GetSafeHwnd());
        EXPECT_EQ(host.PageWindow("preview"), nullptr);

        host.RemoveDialog(&dialog);
        EXPECT_EQ(ui::GetParent(dialog.GetSafeHwnd()), nullptr);
        EXPECT_FALSE(ui::IsWindowVisible(dialog.GetSafeHwnd()));
        EXPECT_EQ(host.Dialog(), nullptr);
        EXPECT_EQ(host.FindPage(kPageTemplate), nullptr);
    }
    for (const ui::UINT id : {kDialogTemplate, kPageTemplate, kOtherPageTemplate})
        ui::UnregisterDialogTemplate(id);
    EXPECT_EQ(out.str(), "host: dialog added\nhost: dialog removed\n");
}

TEST(HostPlatform, RowValuesTellAddressesFromNumbers) {
    // What the plug-in's rows hold: a page's records on the heap, or 32-bit numbers.
    const auto record = std::make_unique<int>(7);
    EXPECT_TRUE(IsAddress(reinterpret_cast<std::intptr_t>(record.get())));
    for (const std::intptr_t number : {0, 1, -1, 512, 1024, 65535, -2147483647 - 1})
        EXPECT_FALSE(IsAddress(number)) << number;
}

}  // namespace
}  // namespace host
