// The plug-in tests' fixture: one camera module in a test host over the simulated camera,
// with the debugger output captured and the clock moved by hand.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AmbrelControlDlg.h"
#include "AmbrelControlModule.h"
#include "AmbrelController.h"
#include "HostStandIns.h"
#include "PFASettingsPage.h"
#include "PFAdjustmentPage.h"
#include "PFCommandPage.h"
#include "PFExposurePage.h"
#include "platform/DebugOutput.h"
#include "platform/Registry.h"
#include "sim/CameraSim.h"
#include "ui/Controls.h"
#include "ui/Input.h"
#include "ui/Snapshot.h"
#include "ui/Window.h"

class PluginTest : public ::testing::Test {
protected:
    static constexpr const wchar_t* kSetupName = L"Day 1";
    static constexpr const wchar_t* kSection = L"Setups\\Day 1\\Ambrel Control";

    void SetUp() override {
        plat::reg::UseMemoryStore();
        plat::AfxSetApp(&app);
        pfsim::LoadDefaultModel();
        debug = std::make_unique<plat::DebugCapture>();
    }

    void TearDown() override {
        module.reset();
        ui::PumpMessages();
        pfsim::SetPortObserver(nullptr);
        plat::AfxSetApp(nullptr);
        debug.reset();
    }

    // A model file of sim/cameras, or a model in JSON.
    void LoadModelFile(const std::string& name) {
        std::string error;
        ASSERT_TRUE(
            pfsim::LoadModelFile(std::string(AMBREL_SOURCE_DIR "/sim/cameras/") + name, &error))
            << error;
    }
    void LoadModelJson(const std::string& json) {
        std::string error;
        ASSERT_TRUE(pfsim::LoadModelString(json, &error)) << error;
    }

    // The module as Initialize gives it to the host: window and pages made, nothing attached.
    CAmbrelControlModule& CreateModule() {
        module = std::make_unique<CAmbrelControlModule>();
        return *module;
    }
    // As the host starts a module: SetHosts, then Attach (which loads the settings).
    CAmbrelControlModule& AttachModule() {
        if (!module) CreateModule();
        module->SetHosts(&setup, &dialogHost);
        module->Attach();
        ui::PumpMessages();
        return *module;
    }

    void StorePort(int row) { app.plat::CWinApp::WriteProfileInt(kSection, L"Port", row); }
    // The stored row, or -99 when none is stored.
    int StoredPort() { return app.plat::CWinApp::GetProfileInt(kSection, L"Port", -99); }

    CAmbrelControlDlg& Dialog() { return *module->m_pDialog; }
    CAmbrelController& Controller() { return *module->m_pController; }
    CPFASettingsPage& Settings() { return *Dialog().m_pSettingsPage; }
    CPFAdjustmentPage& Adjustment() { return *Dialog().m_pAdjustmentPage; }
    CPFCommandPage& Image() { return *Dialog().m_pImagePage; }
    CPFExposurePage& Exposure() { return *Dialog().m_pExposurePage; }

    std::vector<std::wstring> TabTexts() {
        std::vector<std::wstring> texts;
        for (const ui::RowSnapshot& row :
             ui::Snapshot(Dialog().m_tabCtrl.GetSafeHwnd(), false).rows)
            texts.push_back(row.text);
        return texts;
    }
    static std::vector<std::wstring> Rows(const ui::CListBox& list) {
        std::vector<std::wstring> rows;
        for (int i = 0; i < list.GetCount(); ++i) {
            std::wstring text;
            list.GetText(i, text);
            rows.push_back(text);
        }
        return rows;
    }
    // The selected row's text; empty with none selected.
    static std::wstring Selected(const ui::CListBox& list) {
        std::wstring text;
        if (list.GetCurSel() >= 0) list.GetText(list.GetCurSel(), text);
        return text;
    }
    // A person clicking the row with this text.
    static ui::input::Result Choose(ui::CListBox& list, const std::wstring& text) {
        const int row = list.FindStringExact(-1, text.c_str());
        return ui::input::SelectRow(list.GetSafeHwnd(), row < 0 ? list.GetCount() : row);
    }

    HostLog log;
    TestApp app{log};
    TestSetup setup{log, kSetupName};
    TestDialogHost dialogHost{log};
    std::unique_ptr<plat::DebugCapture> debug;
    std::unique_ptr<CAmbrelControlModule> module;
};
