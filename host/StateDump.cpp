// Reading the dialog through the framework's introspection, the camera through the simulated
// library and the profile through the registry's tree walk, into one JSON line.
#include "StateDump.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string_view>
#include <unordered_map>
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

// An object filled in order as `object[key] = value` would fill it (a repeated key keeps its
// first place and takes the later value), in constant time per key: the ordered object's own
// lookup is a linear search, which made large objects quadratic.
class ObjectBuilder {
public:
    void Set(std::string key, Json value) {
        auto& items = m_object.get_ref<Json::object_t&>();
        const auto [at, added] = m_index.try_emplace(key, items.size());
        if (added)
            items.emplace_back(std::move(key), std::move(value));
        else
            items.begin()[static_cast<std::ptrdiff_t>(at->second)].second = std::move(value);
    }
    Json Take() { return std::move(m_object); }

private:
    Json m_object = Json::object();
    std::unordered_map<std::string, size_t> m_index;
};

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
    ObjectBuilder values;
    for (const SimCamera::Property& property : camera.Properties(port)) {
        const auto value = camera.Get(port, property.name);
        values.Set(property.name, value ? CameraValue(*value) : Json(nullptr));
    }
    c["properties"] = values.Take();
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

// The profile's sections below its root that hold values, by their path below it.
bool Profile(const std::wstring& root, Json* profile, std::string* error) {
    ObjectBuilder sections;
    size_t rootLength = 0;
    bool first = true;
    const plat::reg::Status s = plat::reg::WalkTree(
        root, [&](const std::wstring& path, const std::vector<plat::reg::Value>& values) {
            if (first) rootLength = path.size();
            first = false;
            // Keys that only lead to others hold nothing a person set.
            if (values.empty()) return plat::reg::kSuccess;
            ObjectBuilder section;
            for (const plat::reg::Value& value : values) {
                // The profile reads a DWORD as the int of the same bits.
                section.Set(plat::ToUtf8(value.name),
                            value.type == plat::reg::ValueType::String
                                ? Json(plat::ToUtf8(value.text))
                                : Json(static_cast<int32_t>(value.dword)));
            }
            std::wstring_view below(path);
            below.remove_prefix(std::min(below.size(), rootLength));
            if (!below.empty() && below.front() == L'\\') below.remove_prefix(1);
            sections.Set(plat::ToUtf8(below), section.Take());
            return plat::reg::kSuccess;
        });
    if (s != plat::reg::kSuccess && s != plat::reg::kFileNotFound) {
        *error = "the profile cannot be read (registry error " + std::to_string(s) +
                 (s == plat::reg::kStoreFailure ? ": the store failed or is corrupt)" : ")");
        return false;
    }
    *profile = sections.Take();
    return true;
}

}  // namespace

bool StateDump::Capture(HostApplication& app, std::string* text, std::string* error) {
    Json state;
    state["tabs"] = Tabs(app.Dialogs());
    Json pages;
    for (const PageName& page : kPages)
        pages[std::string(page.name)] = Page(app.Dialogs().PageWindow(page.name));
    state["pages"] = std::move(pages);
    state["camera"] = Camera(app.Camera());
    state["host"] = Host(app.Setup());
    if (!Profile(app.ProfileRoot(), &state["profile"], error)) return false;
    *text = state.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return true;
}

}  // namespace host
