// Reading the dialog through the framework's introspection, the camera through the simulated
// library and the profile through the registry's text export, into one JSON line.
#include "StateDump.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <nlohmann/json.hpp>
#include <string_view>
#include <vector>

#include "HostApplication.h"
#include "HostPlatform.h"
#include "HostText.h"
#include "Pages.h"
#include "platform/Registry.h"
#include "platform/Utf8.h"
#include "ui/Snapshot.h"

namespace host {

namespace {

using Json = nlohmann::ordered_json;

// A value the camera holds, as the trace writes it: integers exact, reals by their shortest text.
Json CameraValue(double value) {
    const std::string text = FormatNumber(value);
    if (text == "nan" || text == "inf" || text == "-inf") return text;
    if (text.find_first_of(".e") == std::string::npos)
        return std::strtoll(text.c_str(), nullptr, 10);
    return std::strtod(text.c_str(), nullptr);
}

// A row's item value. Pointers to a page's own records differ from run to run; they are shown
// as such so that dumps of the same state compare equal.
Json RowValue(ui::LPARAM data) {
    if (IsAddress(data)) return "pointer";
    return static_cast<int32_t>(data);
}

Json Control(const ui::WindowSnapshot& s) {
    Json c;
    c["kind"] = plat::ToUtf8(ui::WindowKindName(s.kind));
    c["text"] = plat::ToUtf8(s.text);
    c["enabled"] = s.enabled;
    c["visible"] = (s.style & ui::WS_VISIBLE) != 0;
    switch (s.kind) {
        case ui::WindowKind::CheckBox:
        case ui::WindowKind::RadioButton:
            c["checked"] = s.checked;
            break;
        case ui::WindowKind::ListBox:
        case ui::WindowKind::ComboBox: {
            Json rows = Json::array();
            for (const ui::RowSnapshot& row : s.rows)
                rows.push_back(Json::array({plat::ToUtf8(row.text), RowValue(row.data)}));
            c["rows"] = std::move(rows);
            c["selected"] = s.selection;
            break;
        }
        case ui::WindowKind::Tab: {
            // A tab's item data is a pointer, the same on no two runs: only the texts are shown.
            Json rows = Json::array();
            for (const ui::RowSnapshot& row : s.rows) rows.push_back(plat::ToUtf8(row.text));
            c["rows"] = std::move(rows);
            c["selected"] = s.selection;
            break;
        }
        case ui::WindowKind::Slider:
        case ui::WindowKind::Spin:
            c["range"] = Json::array({s.rangeMin, s.rangeMax});
            c["pos"] = s.position;
            break;
        default:
            break;
    }
    return c;
}

Json Page(ui::HWND page) {
    if (!page) return nullptr;
    Json p;
    p["shown"] = ui::IsWindowVisible(page);
    std::vector<ui::WindowSnapshot> controls;
    for (const ui::HWND child : ui::GetChildWindows(page)) {
        // Pages are listed on their own; labels without an id are not addressable.
        if (ui::GetWindowKind(child) == ui::WindowKind::Dialog) continue;
        if (ui::GetDlgCtrlID(child) <= 0) continue;
        controls.push_back(ui::Snapshot(child, false));
    }
    std::stable_sort(controls.begin(), controls.end(),
                     [](const auto& a, const auto& b) { return a.id < b.id; });
    Json byId = Json::object();
    for (const auto& s : controls) byId[std::to_string(s.id)] = Control(s);
    p["controls"] = std::move(byId);
    return p;
}

Json Tabs(const DialogHost& dialogs) {
    Json t;
    Json items = Json::array();
    Json selected = nullptr;
    const ui::HWND dialog = dialogs.Dialog();
    const ui::HWND tabs = dialog ? ui::GetDlgItem(dialog, kTabControlId) : nullptr;
    if (tabs) {
        const ui::WindowSnapshot s = ui::Snapshot(tabs, false);
        for (const ui::RowSnapshot& row : s.rows) items.push_back(plat::ToUtf8(row.text));
        if (s.selection >= 0 && static_cast<size_t>(s.selection) < s.rows.size())
            selected = plat::ToUtf8(s.rows[static_cast<size_t>(s.selection)].text);
    }
    t["items"] = std::move(items);
    t["selected"] = std::move(selected);
    return t;
}

Json Camera(const SimCamera& camera) {
    Json c;
    const int32_t open = camera.OpenPort();
    c["port"] = open;
    const int32_t port = camera.CurrentPort();
    Json values = Json::object();
    for (const SimCamera::Property& property : camera.Properties(port)) {
        const auto value = camera.Get(port, property.name);
        values[property.name] = value ? CameraValue(*value) : Json(nullptr);
    }
    c["properties"] = std::move(values);
    return c;
}

Json Host(const HostSetup& setup) {
    Json h;
    const DGrabRegion roi = setup.Grabber().GetLastROI();
    h["roi"] = Json::array({roi.x, roi.y, roi.width, roi.height});
    h["grabbing"] = setup.Grabbing();
    h["toggles"] = setup.ToggleCount();
    return h;
}

// The registry editor's text of the profile tree: "[HKEY_CURRENT_USER\path]" sections, then
// `"name"="text"` (with \\ and \" escaped) and `"name"=dword:0000002a` lines.
class RegTextReader {
public:
    RegTextReader(std::wstring_view text, std::wstring_view root) : m_t(text) {
        m_prefix = L"HKEY_CURRENT_USER\\";
        m_prefix.append(root);
    }

    Json Read() {
        Json sections = Json::object();
        Json* current = nullptr;
        while (m_i < m_t.size()) {
            const wchar_t c = m_t[m_i];
            if (c == L'[') {
                const size_t end = m_t.find_first_of(L"\r\n", m_i);
                std::wstring_view line = m_t.substr(
                    m_i, end == std::wstring_view::npos ? std::wstring_view::npos : end - m_i);
                m_i += line.size();
                while (!line.empty() && line.back() != L']') line.remove_suffix(1);
                if (line.size() < 2) continue;
                std::wstring_view path = line.substr(1, line.size() - 2);
                if (path.substr(0, m_prefix.size()) != m_prefix) {
                    current = nullptr;
                    continue;
                }
                path.remove_prefix(m_prefix.size());
                if (!path.empty() && path.front() == L'\\') path.remove_prefix(1);
                current = &sections[plat::ToUtf8(path)];
                *current = Json::object();
            } else if ((c == L'"' || c == L'@') && current) {
                std::wstring name;
                if (c == L'@')
                    ++m_i;
                else
                    name = Quoted();
                if (m_i < m_t.size() && m_t[m_i] == L'=') ++m_i;
                if (m_i < m_t.size() && m_t[m_i] == L'"') {
                    (*current)[plat::ToUtf8(name)] = plat::ToUtf8(Quoted());
                } else if (m_t.substr(m_i, 6) == L"dword:") {
                    m_i += 6;
                    uint32_t value = 0;
                    while (m_i < m_t.size() && std::iswxdigit(m_t[m_i])) {
                        const wchar_t h = m_t[m_i++];
                        value = value * 16 + static_cast<uint32_t>(
                                                 h <= L'9' ? h - L'0' : (h | 0x20) - L'a' + 10);
                    }
                    // The profile reads a DWORD as the int of the same bits.
                    (*current)[plat::ToUtf8(name)] = static_cast<int32_t>(value);
                }
                SkipLine();
            } else {
                SkipLine();
            }
        }
        // Keys that only lead to others hold nothing a person set.
        Json withValues = Json::object();
        for (auto& [section, values] : sections.items())
            if (!values.empty()) withValues[section] = std::move(values);
        return withValues;
    }

private:
    std::wstring Quoted() {
        std::wstring out;
        ++m_i;  // the opening quote
        while (m_i < m_t.size() && m_t[m_i] != L'"') {
            if (m_t[m_i] == L'\\' && m_i + 1 < m_t.size()) ++m_i;
            out.push_back(m_t[m_i++]);
        }
        if (m_i < m_t.size()) ++m_i;
        return out;
    }

    void SkipLine() {
        while (m_i < m_t.size() && m_t[m_i] != L'\n') ++m_i;
        if (m_i < m_t.size()) ++m_i;
    }

    std::wstring_view m_t;
    std::wstring m_prefix;
    size_t m_i = 0;
};

}  // namespace

std::string StateDump::Capture(HostApplication& app) {
    Json state;
    state["tabs"] = Tabs(app.Dialogs());
    Json pages;
    for (const PageName& page : kPages)
        pages[std::string(page.name)] = Page(app.Dialogs().PageWindow(page.name));
    state["pages"] = std::move(pages);
    state["camera"] = Camera(app.Camera());
    state["host"] = Host(app.Setup());
    state["profile"] =
        RegTextReader(plat::reg::ExportRegText(app.ProfileRoot()), app.ProfileRoot()).Read();
    return state.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace host
