// Clicking the plug-in's dialog through the host's script runner and measuring each click.
#include "DialogClicks.h"

#if defined(AMBREL_INSPECT_DIALOG)
#include <algorithm>
#include <cwchar>
#include <ostream>
#include <set>
#include <utility>

#include "AmbrelControlDlg.h"
#include "CModule.h"
#include "CallMeter.h"
#include "ControllerTypes.h"
#include "HostApplication.h"
#include "PFASettingsPage.h"
#include "PFAdjustmentPage.h"
#include "PFCommandPage.h"
#include "Pages.h"
#include "ScriptRunner.h"
#include "Trace.h"
#include "WindowGeometry.h"
#include "platform/Text.h"
#include "platform/Utf8.h"
#include "ui/Snapshot.h"
#include "ui/Window.h"

extern "C" {
const wchar_t* GetDLLName();
const wchar_t* GetName();
const wchar_t* GetInfo();
CModule* Initialize();
}
#endif

namespace inspect {

#if defined(AMBREL_INSPECT_DIALOG)
namespace {

constexpr const char* kSettings = "settings";
constexpr const char* kAdjustment = "adjustment";
constexpr const char* kImage = "image";

// Script text as one quoted token, whatever it holds.
std::string Quoted(const std::wstring& text) {
    std::string out = "\"";
    for (const char c : plat::ToUtf8(text)) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string Ref(const std::string& page, int id) {
    return page + "." + std::to_string(id);
}

std::string Lower(const std::wstring& text) {
    std::string out = plat::ToUtf8(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::wstring Trimmed(std::wstring text) {
    while (!text.empty() && (text.back() == L' ' || text.back() == L':')) text.pop_back();
    return text;
}

// The rows of a list in the order that ends on the one selected: each chosen once, and the
// list left as it was.
std::vector<int> RowsEndingOnSelected(int rows, int selected) {
    std::vector<int> order;
    for (int k = 1; k <= rows; ++k) order.push_back(selected < 0 ? k - 1 : (selected + k) % rows);
    return order;
}

}  // namespace

class DialogClicks::Session {
public:
    Session() : m_trace(m_nowhere), m_app(m_trace, m_nowhere), m_runner(m_app, m_nowhere) {
        m_exports.getDLLName = &GetDLLName;
        m_exports.getName = &GetName;
        m_exports.getInfo = &GetInfo;
        m_exports.initialize = &Initialize;
    }

    bool Start(std::string* error) {
        host::HostOptions options;
        options.linkedPlugin = &m_exports;
        options.profileInMemory = true;
        options.cameraAsItStands = true;
        return m_app.Start(options, error) == host::HostApplication::StartResult::Ok;
    }
    void Stop() { m_app.Shutdown(); }

    std::vector<ClickCost> OpenPort(int32_t port, int32_t baud) {
        Begin(baud);
        m_tab = L"Settings";
        ShowPage(kSettings);
        const ui::WindowSnapshot features = Control(kSettings, CPFASettingsPage::IDC_FEATURES);
        for (size_t row = 0; row < features.rows.size(); ++row) {
            if (features.rows[row].data != kIdPort) continue;
            Measure("show_setting", features.rows[row].text,
                    {"select " + Ref(kSettings, CPFASettingsPage::IDC_FEATURES) + " " +
                     std::to_string(row)});
            const ui::WindowSnapshot values = Control(kSettings, CPFASettingsPage::IDC_VALUES);
            for (size_t value = 0; value < values.rows.size(); ++value) {
                if (values.rows[value].data != port) continue;
                Measure("open_port", values.rows[value].text,
                        {"select " + Ref(kSettings, CPFASettingsPage::IDC_VALUES) + " " +
                         std::to_string(value)});
            }
            break;
        }
        return std::move(m_clicks);
    }

    std::vector<ClickCost> ClickEverything(int32_t baud) {
        Begin(baud);
        m_visited.clear();
        while (const std::optional<std::wstring> next = UnvisitedTab()) Visit(*next);
        return std::move(m_clicks);
    }

private:
    void Begin(int32_t baud) {
        m_baud = baud;
        m_clicks.clear();
    }

    std::optional<std::wstring> UnvisitedTab() const {
        for (const ui::RowSnapshot& row : TabRows())
            if (!m_visited.count(row.text)) return row.text;
        return std::nullopt;
    }

    void Visit(const std::wstring& tab) {
        m_visited.insert(tab);
        if (!Measure("tab", tab, {"tab " + plat::ToUtf8(tab)})) return;
        m_tab = tab;
        const std::string page = Lower(tab);
        if (page == kSettings)
            WalkSettings();
        else if (page == kAdjustment)
            WalkAdjustment();
        else if (page == kImage)
            WalkImage();
        else
            WalkControls(page, {});
    }

    // A choice that shows a tab (Crosshairs on shows Adjustment): that page is clicked through
    // while it is there, then the Settings page is shown again.
    void VisitNewTabs(const std::set<std::wstring>& before) {
        const std::wstring back = m_tab;
        bool visited = false;
        for (const ui::RowSnapshot& row : TabRows()) {
            if (before.count(row.text) || m_visited.count(row.text)) continue;
            Visit(row.text);
            visited = true;
        }
        m_tab = back;
        if (visited) ShowPage(kSettings);
    }

    std::set<std::wstring> TabNames() const {
        std::set<std::wstring> names;
        for (const ui::RowSnapshot& row : TabRows()) names.insert(row.text);
        return names;
    }

    // The Image page's size after a window mode was chosen, against the mode's label.
    void CheckWindowMode(const std::wstring& label) {
        const std::wstring width = Control(kImage, CPFCommandPage::IDC_WIDTH_EDIT).text;
        const std::wstring height = Control(kImage, CPFCommandPage::IDC_HEIGHT_EDIT).text;
        if (width.empty() || height.empty() || width + L"x" + height == label) return;
        m_findings.emplace_back(
            "Window.Mode",
            L"choosing \"" + label + L"\" leaves the camera at " + width + L"x" + height);
    }

    // The offset X edit after one step up of its spin, against the dialog's 32-pixel step.
    void CheckOffsetStep(const std::string& page, int spinId, const std::wstring& before) {
        if (page != kImage || spinId != CPFCommandPage::IDC_OFFSET_X_SPIN) return;
        const std::wstring after = Control(kImage, CPFCommandPage::IDC_OFFSET_X_EDIT).text;
        const long long from = std::wcstoll(before.c_str(), nullptr, 10);
        const long long to = std::wcstoll(after.c_str(), nullptr, 10);
        if (to == from || to - from == window::kOffsetXStep) return;
        m_findings.emplace_back(
            "Window.X",
            plat::Format(L"one step up of the offset X spin moved it from %lld to %lld: "
                         L"the camera's step is not the dialog's %d pixels",
                         from, to, window::kOffsetXStep));
    }

    // A click may bring another tab to the front (a reset shows the Settings page again); a
    // person then clicks the page's tab again.
    void ShowPage(const std::string& page) {
        const ui::HWND window = PageWindow(page);
        if (window && !ui::IsWindowVisible(window))
            Measure("tab", m_tab, {"tab " + plat::ToUtf8(m_tab)});
    }

    // Runs the click's lines; a click a person cannot make (a hidden or disabled control, a row
    // no longer there) is refused by the runner before it does anything, and is not counted.
    bool Measure(std::string action, std::wstring what, std::vector<std::string> lines) {
        meter::Reset();
        for (const std::string& line : lines) {
            std::string reason;
            if (!m_runner.RunLine(line, &reason)) return false;
        }
        const CallTally tally = meter::Tally();
        ClickCost cost{std::move(action), std::move(what), std::move(lines), tally.calls, {}};
        if (m_baud > 0) cost.linkMs = LinkMilliseconds(tally, m_baud);
        m_clicks.push_back(std::move(cost));
        return true;
    }

    ui::HWND PageWindow(const std::string& page) const { return m_app.Dialogs().PageWindow(page); }
    ui::WindowSnapshot Control(const std::string& page, int id) const {
        const ui::HWND window = PageWindow(page);
        const ui::HWND control = window ? ui::GetDlgItem(window, id) : nullptr;
        return control ? ui::Snapshot(control, false) : ui::WindowSnapshot{};
    }
    std::vector<ui::RowSnapshot> TabRows() const {
        const ui::HWND dialog = m_app.Dialogs().Dialog();
        const ui::HWND tabs = dialog ? ui::GetDlgItem(dialog, host::kTabControlId) : nullptr;
        return tabs ? ui::Snapshot(tabs, false).rows : std::vector<ui::RowSnapshot>{};
    }

    // Shows the setting in the feature list unless it is shown; false when it is not listed.
    bool ShowSetting(ui::LPARAM id, const std::wstring& name, bool always) {
        const ui::WindowSnapshot features = Control(kSettings, CPFASettingsPage::IDC_FEATURES);
        for (size_t row = 0; row < features.rows.size(); ++row) {
            if (features.rows[row].data != id) continue;
            if (!always && features.selection == static_cast<int>(row)) return true;
            return Measure("show_setting", name,
                           {"select " + Ref(kSettings, CPFASettingsPage::IDC_FEATURES) + " " +
                            std::to_string(row)});
        }
        return false;
    }

    // Every option of every setting but the port, each setting left on the option it had.
    void WalkSettings() {
        const ui::WindowSnapshot features = Control(kSettings, CPFASettingsPage::IDC_FEATURES);
        for (const ui::RowSnapshot& feature : features.rows) {
            if (feature.data == kIdPort) continue;
            if (!ShowSetting(feature.data, feature.text, true)) continue;
            const ui::WindowSnapshot values = Control(kSettings, CPFASettingsPage::IDC_VALUES);
            for (const int row :
                 RowsEndingOnSelected(static_cast<int>(values.rows.size()), values.selection)) {
                // A choice may rebuild the lists: the option is chosen only under its setting.
                if (!ShowSetting(feature.data, feature.text, false)) break;
                const ui::WindowSnapshot now = Control(kSettings, CPFASettingsPage::IDC_VALUES);
                if (row >= static_cast<int>(now.rows.size())) break;
                const std::set<std::wstring> tabs = TabNames();
                const std::wstring option = now.rows[static_cast<size_t>(row)].text;
                if (Measure("choose_setting", feature.text + L" = " + option,
                            {"select " + Ref(kSettings, CPFASettingsPage::IDC_VALUES) + " " +
                             std::to_string(row)}) &&
                    feature.data == kIdWindow)
                    CheckWindowMode(option);
                VisitNewTabs(tabs);
            }
        }
    }

    void WalkAdjustment() {
        const ui::WindowSnapshot list = Control(kAdjustment, CPFAdjustmentPage::IDC_LIST);
        for (size_t row = 0; row < list.rows.size(); ++row) {
            if (!Measure("show_adjustment", list.rows[row].text,
                         {"select " + Ref(kAdjustment, CPFAdjustmentPage::IDC_LIST) + " " +
                          std::to_string(row)}))
                continue;
            WalkControls(kAdjustment, {CPFAdjustmentPage::IDC_LIST}, list.rows[row].text);
        }
    }

    // The decimations, the window controls and Apply, then each command with Apply.
    void WalkImage() {
        const int decimationId = CPFCommandPage::IDC_DECIMATION_LIST;
        const ui::WindowSnapshot decimation = Control(kImage, decimationId);
        for (const int row :
             RowsEndingOnSelected(static_cast<int>(decimation.rows.size()), decimation.selection)) {
            Measure("choose_decimation", decimation.rows[static_cast<size_t>(row)].text,
                    {"select " + Ref(kImage, decimationId) + " " + std::to_string(row)});
        }
        WalkControls(kImage, {CPFCommandPage::IDC_COMMAND_LIST, decimationId});
        const ui::WindowSnapshot commands = Control(kImage, CPFCommandPage::IDC_COMMAND_LIST);
        for (size_t row = 1; row < commands.rows.size(); ++row) {
            ShowPage(kImage);
            Measure("command", commands.rows[row].text,
                    {"select " + Ref(kImage, CPFCommandPage::IDC_COMMAND_LIST) + " " +
                         std::to_string(row),
                     "click " + Ref(kImage, CPFCommandPage::IDC_APPLY)});
        }
    }

    // Check boxes both ways, buttons, sliders to each end and back, spin arrows both ways, and
    // each edit's own text typed again and left with Tab.
    void WalkControls(const std::string& page, const std::set<int>& skip,
                      const std::wstring& prefix = L"") {
        const ui::HWND window = PageWindow(page);
        if (!window) return;
        std::vector<std::pair<int, std::wstring>> controls;  // id, the label before it
        std::wstring label;
        for (const ui::HWND child : ui::GetChildWindows(window)) {
            const ui::WindowSnapshot s = ui::Snapshot(child, false);
            if (s.kind == ui::WindowKind::Static || s.kind == ui::WindowKind::GroupBox) {
                if (!s.text.empty()) label = Trimmed(s.text);
                continue;
            }
            const bool captioned =
                s.kind == ui::WindowKind::PushButton || s.kind == ui::WindowKind::CheckBox;
            if (s.id > 0 && !skip.count(s.id))
                controls.emplace_back(s.id, captioned && !s.text.empty() ? s.text : label);
        }
        // A check box stays toggled while the controls after it are clicked (the frame-time
        // slider is enabled only with Constant Frame Rate), and is toggled back at the end.
        std::vector<std::pair<int, std::wstring>> toggled;
        for (const auto& [id, name] : controls) {
            ShowPage(page);
            const std::wstring what = prefix.empty() ? name
                                      : name.empty() ? prefix
                                                     : prefix + L" " + name;
            if (Click(page, id, what)) toggled.emplace_back(id, what);
        }
        for (auto it = toggled.rbegin(); it != toggled.rend(); ++it) {
            ShowPage(page);
            Toggle(page, it->first, it->second);
        }
    }

    bool Toggle(const std::string& page, int id, const std::wstring& name) {
        const ui::WindowSnapshot s = Control(page, id);
        return Measure("check", name + (s.checked == 1 ? L" off" : L" on"),
                       {"click " + Ref(page, id)});
    }

    // Answers whether it toggled a check box.
    bool Click(const std::string& page, int id, const std::wstring& name) {
        const std::string ref = Ref(page, id);
        const ui::WindowSnapshot s = Control(page, id);
        switch (s.kind) {
            case ui::WindowKind::CheckBox:
                return Toggle(page, id, name);
            case ui::WindowKind::PushButton:
                Measure(page == kImage && id == CPFCommandPage::IDC_APPLY ? "apply" : "button",
                        name, {"click " + ref});
                break;
            case ui::WindowKind::Slider:
                for (const int position : {s.rangeMin, s.rangeMax, s.position})
                    Measure("slide", name + L" slider to " + std::to_wstring(position),
                            {"slide " + ref + " " + std::to_string(position)});
                break;
            case ui::WindowKind::Spin: {
                const std::wstring offset = Control(page, CPFCommandPage::IDC_OFFSET_X_EDIT).text;
                if (Measure("spin", name + L" up", {"spin " + ref + " up"}))
                    CheckOffsetStep(page, id, offset);
                Measure("spin", name + L" down", {"spin " + ref + " down"});
                break;
            }
            case ui::WindowKind::Edit:
                Measure("type", name + L" typed as " + s.text,
                        {"type " + ref + " " + Quoted(s.text), "key " + ref + " tab"});
                break;
            default:
                break;
        }
        return false;
    }

    std::ostream m_nowhere{nullptr};
    host::Trace m_trace;
    host::PluginExports m_exports;
    host::HostApplication m_app;
    host::ScriptRunner m_runner;
    int32_t m_baud = 0;
    std::wstring m_tab;  // the tab of the page being clicked
    std::set<std::wstring> m_visited;
    std::vector<ClickCost> m_clicks;

public:
    std::vector<std::pair<std::string, std::wstring>> m_findings;
};

bool DialogClicks::Available() {
    return true;
}

DialogClicks::DialogClicks() : m_session(std::make_unique<Session>()) {}

bool DialogClicks::Start(std::string* error) {
    return m_session->Start(error);
}

std::vector<ClickCost> DialogClicks::OpenPort(int32_t port, int32_t baud) {
    return m_session->OpenPort(port, baud);
}

std::vector<ClickCost> DialogClicks::ClickEverything(int32_t baud) {
    return m_session->ClickEverything(baud);
}

void DialogClicks::Stop() {
    m_session->Stop();
}

std::vector<std::pair<std::string, std::wstring>> DialogClicks::TakeFindings() {
    return std::exchange(m_session->m_findings, {});
}

#else

class DialogClicks::Session {};

bool DialogClicks::Available() {
    return false;
}

DialogClicks::DialogClicks() = default;

bool DialogClicks::Start(std::string* error) {
    *error = "this build drives no dialog: it links the vendor's camera library";
    return false;
}

std::vector<ClickCost> DialogClicks::OpenPort(int32_t, int32_t) {
    return {};
}

std::vector<ClickCost> DialogClicks::ClickEverything(int32_t) {
    return {};
}

void DialogClicks::Stop() {}

std::vector<std::pair<std::string, std::wstring>> DialogClicks::TakeFindings() {
    return {};
}

#endif

DialogClicks::~DialogClicks() = default;

}  // namespace inspect
