// Shared pieces of the Image page tests: the page shown on port 0, its controls by id, and the
// camera writes read back from the simulated library's call log.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "PluginFixture.h"

class ImagePageTest : public PluginTest {
protected:
    using P = CPFCommandPage;

    // Opens port 0 as the stored choice and brings the "Image" tab to the front, as a user
    // would; the call log then starts empty. `host` replaces the fixture's setup.
    void ShowImagePage(TestSetup* host = nullptr) {
        if (host) {
            app.plat::CWinApp::WriteProfileInt(
                (std::wstring(L"Setups\\") + host->GetName() + L"\\Ambrel Control").c_str(),
                L"Port", 1);
            CreateModule().SetHosts(host, &dialogHost);
            module->Attach();
            ui::PumpMessages();
        } else {
            StorePort(1);
            AttachModule();
        }
        const std::vector<std::wstring> tabs = TabTexts();
        const auto at = std::find(tabs.begin(), tabs.end(), L"Image");
        ASSERT_NE(at, tabs.end());
        ASSERT_EQ(ui::input::ClickTab(Dialog().m_tabCtrl.GetSafeHwnd(),
                                      static_cast<int>(at - tabs.begin())),
                  ui::input::Result::Ok);
        ASSERT_TRUE(Image().IsWindowVisible());
        pfsim::ClearCallLog();
    }

    ui::HWND Item(int id) { return ui::GetDlgItem(Image().GetSafeHwnd(), id); }
    std::wstring Text(int id) { return ui::GetWindowText(Item(id)); }
    bool Enabled(int id) { return ui::IsWindowEnabled(Item(id)); }
    ui::WindowSnapshot State(int id) { return ui::Snapshot(Item(id), false); }

    void Type(int id, std::wstring_view text) {
        ASSERT_EQ(ui::input::TypeText(Item(id), text), ui::input::Result::Ok);
    }
    void Paste(int id, std::wstring_view text) {
        ASSERT_EQ(ui::input::PasteText(Item(id), text), ui::input::Result::Ok);
    }
    void Press(int id, ui::input::Key key) {
        ASSERT_EQ(ui::input::PressKey(Item(id), key), ui::input::Result::Ok);
    }
    void Spin(int id, ui::input::Arrow arrow) {
        ASSERT_EQ(ui::input::PressSpin(Item(id), arrow), ui::input::Result::Ok);
    }
    void ClickApply() { ASSERT_EQ(ui::input::Click(Item(P::IDC_APPLY)), ui::input::Result::Ok); }
    void ChooseRow(int listId, const std::wstring& text) {
        const int row = static_cast<int>(
            ui::SendMessage(Item(listId), ui::CB_FINDSTRINGEXACT, static_cast<ui::WPARAM>(-1),
                            reinterpret_cast<ui::LPARAM>(text.c_str())));
        ASSERT_GE(row, 0);
        ASSERT_EQ(ui::input::SelectRow(Item(listId), row), ui::input::Result::Ok);
    }

    // Every integer write the page made, as "name=value", in order.
    static std::vector<std::string> Writes() {
        std::vector<std::string> writes;
        for (const pfsim::Call& call : pfsim::CallLog())
            if (call.op == "pfSetCameraPropertyI" && call.args.size() == 3)
                writes.push_back(call.args[1] + "=" + call.args[2]);
        return writes;
    }
    static std::vector<std::string> WritesOf(const std::string& property) {
        std::vector<std::string> values;
        for (const std::string& write : Writes())
            if (write.starts_with(property + "="))
                values.push_back(write.substr(property.size() + 1));
        return values;
    }
    static double Camera(const std::string& property) {
        return pfsim::GetProperty(0, property).value_or(-1);
    }

    // The default model with every read of `property` answering `value`.
    static std::string WithRead(std::string json, const std::string& property, long long value) {
        const std::string key = "\"name\": \"" + property + "\",";
        const std::size_t at = json.find(key);
        if (at != std::string::npos)
            json.insert(at + key.size(), " \"read\": " + std::to_string(value) + ",");
        return json;
    }
};
