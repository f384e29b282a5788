// Shared pieces of the Adjustment and Exposure page tests: small camera models, a page brought
// to the front on port 0 as a user would, its controls by id, and the camera writes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "PluginFixture.h"

// A model of one camera with these property rows on one port.
inline std::string CameraModel(const std::string& properties) {
    return R"({"cameras": {"cam": {"properties": [)" + properties +
           R"(]}}, "ports": [{"description": "CL port 0", "camera": "cam"}]})";
}

inline const std::string kCrosshairsRows = R"(
    {"name": "Crosshairs.Enable", "type": "int", "value": 1, "min": 0, "max": 1},
    {"name": "Crosshairs.X", "type": "int", "value": 512, "min": 0, "max": 1023, "limits": true},
    {"name": "Crosshairs.Y", "type": "int", "value": 100, "min": 0, "max": 1023, "limits": true},
    {"name": "Crosshairs.Value", "type": "int", "value": 75, "min": 0, "max": 150, "limits": true})";

class PageTest : public PluginTest {
protected:
    // Opens port 0 of this model as the stored choice and clicks the tab with this text; the
    // call log then starts empty.
    void ShowPage(const std::string& model, const std::wstring& tab) {
        LoadModelJson(model);
        StorePort(1);
        AttachModule();
        ClickTabNamed(tab);
        pfsim::ClearCallLog();
    }
    void ClickTabNamed(const std::wstring& tab) {
        const std::vector<std::wstring> tabs = TabTexts();
        const auto at = std::find(tabs.begin(), tabs.end(), tab);
        ASSERT_NE(at, tabs.end());
        ASSERT_EQ(ui::input::ClickTab(Dialog().m_tabCtrl.GetSafeHwnd(),
                                      static_cast<int>(at - tabs.begin())),
                  ui::input::Result::Ok);
    }
    bool HasTab(const std::wstring& tab) {
        const std::vector<std::wstring> tabs = TabTexts();
        return std::find(tabs.begin(), tabs.end(), tab) != tabs.end();
    }

    virtual ui::HWND PageWindow() = 0;
    ui::HWND Item(int id) { return ui::GetDlgItem(PageWindow(), id); }
    std::wstring Text(int id) { return ui::GetWindowText(Item(id)); }
    bool Enabled(int id) { return ui::IsWindowEnabled(Item(id)); }
    int Checked(int id) { return ui::Snapshot(Item(id), false).checked; }
    struct SliderState {
        int rangeMin, rangeMax, position;
        friend bool operator==(const SliderState&, const SliderState&) = default;
    };
    SliderState Slider(int id) {
        const ui::WindowSnapshot s = ui::Snapshot(Item(id), false);
        return {s.rangeMin, s.rangeMax, s.position};
    }

    void Type(int id, std::wstring_view text) {
        ASSERT_EQ(ui::input::TypeText(Item(id), text), ui::input::Result::Ok);
    }
    void Paste(int id, std::wstring_view text) {
        ASSERT_EQ(ui::input::PasteText(Item(id), text), ui::input::Result::Ok);
    }
    void Drag(int id, int position) {
        ASSERT_EQ(ui::input::DragSlider(Item(id), position), ui::input::Result::Ok);
    }
    void ClickItem(int id) { ASSERT_EQ(ui::input::Click(Item(id)), ui::input::Result::Ok); }

    // The value the camera on port 0 holds.
    static double Camera(const std::string& property) {
        return pfsim::GetProperty(0, property).value_or(-12345.0);
    }
    // The values written to this property since the log was last cleared, as logged.
    static std::vector<std::string> WritesOf(const std::string& property) {
        std::vector<std::string> values;
        for (const pfsim::Call& call : pfsim::CallLog())
            if ((call.op == "pfSetCameraPropertyI" || call.op == "pfSetCameraPropertyF") &&
                call.args.size() == 3 && call.args[1] == property)
                values.push_back(call.args[2]);
        return values;
    }
    static uint64_t Writes() {
        return pfsim::CallCount("pfSetCameraPropertyI") + pfsim::CallCount("pfSetCameraPropertyF");
    }
};
