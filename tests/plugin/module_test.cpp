// The camera module as the host drives it: construction, attaching, the stored port, locking
// the controls and the order of destruction.
#include <string>
#include <vector>

#include "PluginFixture.h"

namespace {

using ui::input::Key;
using ui::input::Result;

class ModuleTest : public PluginTest {
protected:
    static std::wstring PortWrite(int row) {
        return std::wstring(L"WriteProfileInt ") + kSection + L" Port=" + std::to_wstring(row);
    }
    // Port openings and closings go into the host log.
    void LogPorts() {
        pfsim::SetPortObserver([this](int32_t port, bool open, int32_t) {
            log.push_back((open ? L"OpenPort " : L"ClosePort ") + std::to_wstring(port));
        });
    }
};

TEST_F(ModuleTest, ConstructionBuildsAHiddenDialogAndTouchesNoCamera) {
    CreateModule();

    EXPECT_EQ(module->GetName(), L"Ambrel Control");
    EXPECT_EQ(module->GetFileName(), L"AmbrelControl.dll");
    EXPECT_EQ(module->m_nPort, 0);
    EXPECT_EQ(module->m_bSettingsLoaded, 0);
    ASSERT_NE(module->m_pController, nullptr);
    EXPECT_EQ(Controller().m_port, -1);
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);

    ASSERT_NE(module->m_pDialog, nullptr);
    const ui::HWND dialog = Dialog().GetSafeHwnd();
    ASSERT_TRUE(ui::IsWindow(dialog));
    EXPECT_EQ(ui::GetParent(dialog), nullptr);
    EXPECT_FALSE(ui::IsWindowVisible(dialog));
    EXPECT_STREQ(Dialog().GetName(), L"Ambrel Control");
    EXPECT_STREQ(Dialog().GetCaption(), L"Ambrel Control");
    EXPECT_EQ(Dialog().GetSetup(), nullptr);
    EXPECT_TRUE(TabTexts().empty());
    const ui::CWnd* pages[] = {&Settings(), &Adjustment(), &Image(), &Exposure()};
    for (const ui::CWnd* page : pages) {
        EXPECT_EQ(ui::GetParent(page->GetSafeHwnd()), dialog);
        EXPECT_FALSE(page->GetStyle() & ui::WS_VISIBLE);
    }
}

TEST_F(ModuleTest, AttachDocksTheDialogAndLoadsTheSetup) {
    StorePort(1);
    AttachModule();

    EXPECT_EQ(Dialog().GetSetup(), &setup);
    EXPECT_EQ(dialogHost.docked, module->m_pDialog);
    EXPECT_EQ(log.front(), L"AddDialog Ambrel Control");
    EXPECT_EQ(module->m_bSettingsLoaded, 1);
    EXPECT_EQ(app.profileIntReads, 1);
    EXPECT_TRUE(pfsim::IsPortOpen(0));
    EXPECT_TRUE(Settings().IsWindowVisible());
}

TEST_F(ModuleTest, FirstAttachWithNothingStoredOpensNoPort) {
    AttachModule();

    EXPECT_EQ(module->m_nPort, 0);
    EXPECT_EQ(pfsim::CallCount("pfOpenPort"), 0u);
    EXPECT_EQ(StoredPort(), -99);
}

TEST_F(ModuleTest, SettingsAreLoadedOnceEvenForAnotherSetup) {
    StorePort(1);
    AttachModule();
    const uint64_t portQueries = pfsim::CallCount("pfGetNumPort");

    StorePort(2);
    module->LoadSettings();
    TestSetup other(log, L"Night 2");
    module->SetHosts(&other, &dialogHost);
    module->LoadSettings();

    EXPECT_EQ(app.profileIntReads, 1);
    EXPECT_EQ(pfsim::CallCount("pfGetNumPort"), portQueries);
    EXPECT_EQ(module->m_nPort, 1);
    EXPECT_TRUE(pfsim::IsPortOpen(0));
    module->SetHosts(&setup, &dialogHost);
}

TEST_F(ModuleTest, RowPickedByTheUserIsSavedUnderTheSetupAtDestruction) {
    AttachModule();
    ASSERT_EQ(Choose(Settings().m_valuesList, L"CL port 1 (simulated)"), Result::Ok);

    module.reset();

    EXPECT_EQ(StoredPort(), 2);
    EXPECT_EQ(std::count(log.begin(), log.end(), PortWrite(2)), 1);
}

TEST_F(ModuleTest, DestructionSavesThenUndocksThenClosesThePort) {
    StorePort(2);
    AttachModule();
    const ui::HWND dialog = Dialog().GetSafeHwnd();
    LogPorts();
    log.clear();

    module.reset();

    EXPECT_EQ(log, HostLog({PortWrite(2), L"RemoveDialog with window", L"ClosePort 1"}));
    EXPECT_FALSE(ui::IsWindow(dialog));
    EXPECT_EQ(pfsim::OpenPortCount(), 0);
}

TEST_F(ModuleTest, ModuleGivenHostsButNeverAttachedSavesRowZero) {
    StorePort(2);
    CreateModule();
    module->SetHosts(&setup, &dialogHost);

    module.reset();

    EXPECT_EQ(log, HostLog({PortWrite(0), L"RemoveDialog with window"}));
    EXPECT_EQ(StoredPort(), 0);
}

TEST_F(ModuleTest, ModuleNeverGivenItsHostsIsDestroyedWithoutThem) {
    StorePort(2);
    CreateModule();
    const ui::HWND dialog = Dialog().GetSafeHwnd();

    module.reset();

    EXPECT_TRUE(log.empty());
    EXPECT_EQ(StoredPort(), 2);
    EXPECT_FALSE(ui::IsWindow(dialog));
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

TEST_F(ModuleTest, LockedControlsRefuseTheUserUntilUnlocked) {
    StorePort(1);
    AttachModule();
    const uint64_t writes = pfsim::CallCount("pfSetCameraPropertyI");

    module->LockControls();
    module->LockControls();
    EXPECT_FALSE(Settings().m_featureList.IsWindowEnabled());
    EXPECT_FALSE(Settings().m_valuesList.IsWindowEnabled());
    EXPECT_EQ(Choose(Settings().m_featureList, L"Window"), Result::Disabled);
    EXPECT_EQ(Choose(Settings().m_valuesList, L"Not selected"), Result::Disabled);
    EXPECT_TRUE(pfsim::IsPortOpen(0));

    // One unlock undoes any number of locks.
    module->UnlockControls();
    EXPECT_TRUE(Settings().m_featureList.IsWindowEnabled());
    EXPECT_TRUE(Settings().m_valuesList.IsWindowEnabled());
    ASSERT_EQ(Choose(Settings().m_featureList, L"Window"), Result::Ok);
    ASSERT_EQ(Choose(Settings().m_valuesList, L"1024x256"), Result::Ok);
    EXPECT_EQ(pfsim::CallCount("pfSetCameraPropertyI"), writes + 1);
}

TEST_F(ModuleTest, EnterAndEscapeCloseNeitherTheDialogNorAPage) {
    StorePort(1);
    AttachModule();
    const ui::HWND inPage = Settings().m_valuesList.GetSafeHwnd();
    const ui::HWND inDialog = Dialog().m_tabCtrl.GetSafeHwnd();

    for (const ui::HWND target : {inPage, inDialog}) {
        for (const Key key : {Key::Enter, Key::Escape}) {
            ASSERT_EQ(ui::input::PressKey(target, key), Result::Ok);
        }
    }

    EXPECT_FALSE(ui::IsDialogEnded(Dialog().GetSafeHwnd()));
    EXPECT_FALSE(ui::IsDialogEnded(Settings().GetSafeHwnd()));
    EXPECT_TRUE(Dialog().IsWindowVisible());
    EXPECT_TRUE(Settings().IsWindowVisible());
    EXPECT_TRUE(pfsim::IsPortOpen(0));
}

}  // namespace
