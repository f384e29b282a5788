// Snapshots of window trees, read through the controls' own messages.
#include "ui/Snapshot.h"

#include <sstream>

namespace ui {
namespace {

std::wstring ItemText(HWND hwnd, UINT lenMessage, UINT textMessage, int index) {
    const LRESULT length = SendMessage(hwnd, lenMessage, static_cast<WPARAM>(index));
    if (length < 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessage(hwnd, textMessage, static_cast<WPARAM>(index),
                                    reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return text;
}

void ReadRows(HWND hwnd, WindowSnapshot& s, bool combo) {
    const int count = static_cast<int>(SendMessage(hwnd, combo ? CB_GETCOUNT : LB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        RowSnapshot row;
        row.text = combo ? ItemText(hwnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, i)
                         : ItemText(hwnd, LB_GETTEXTLEN, LB_GETTEXT, i);
        row.data =
            SendMessage(hwnd, combo ? CB_GETITEMDATA : LB_GETITEMDATA, static_cast<WPARAM>(i));
        s.rows.push_back(std::move(row));
    }
    s.selection = static_cast<int>(SendMessage(hwnd, combo ? CB_GETCURSEL : LB_GETCURSEL));
}

void ReadTabs(HWND hwnd, WindowSnapshot& s) {
    const int count = static_cast<int>(SendMessage(hwnd, TCM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i) {
        wchar_t buffer[256] = {};
        TCITEM item;
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = buffer;
        item.cchTextMax = 256;
        SendMessage(hwnd, TCM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        s.rows.push_back(RowSnapshot{buffer, item.lParam});
    }
    s.selection = static_cast<int>(SendMessage(hwnd, TCM_GETCURSEL));
    s.focusItem = static_cast<int>(SendMessage(hwnd, TCM_GETCURFOCUS));
}

void Line(std::wostringstream& out, const WindowSnapshot& s, int depth) {
    out << std::wstring(static_cast<std::size_t>(depth) * 2, L' ') << WindowKindName(s.kind);
    if (s.kind == WindowKind::Window) out << L" (" << s.className << L')';
    out << L" id=" << s.id;
    if (!s.text.empty()) out << L" \"" << s.text << L'"';
    if (!s.visible) out << L" hidden";
    if (!s.enabled) out << L" disabled";
    if (s.focused) out << L" focused";
    if (s.checked >= 0) out << L" checked=" << s.checked;
    if (s.kind == WindowKind::Slider || s.kind == WindowKind::Spin)
        out << L" range=" << s.rangeMin << L".." << s.rangeMax << L" pos=" << s.position;
    if (!s.rows.empty() || s.selection >= 0) {
        out << L" selection=" << s.selection;
        if (s.kind == WindowKind::Tab) out << L" focus=" << s.focusItem;
        out << L" [";
        for (std::size_t i = 0; i < s.rows.size(); ++i)
            out << (i ? L", " : L"") << L'"' << s.rows[i].text << L"\":" << s.rows[i].data;
        out << L']';
    }
    out << L'\n';
    for (const WindowSnapshot& child : s.children) Line(out, child, depth + 1);
}

}  // namespace

std::vector<HWND> GetChildWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    return children;
}

WindowSnapshot Snapshot(HWND hwnd, bool withChildren) {
    WindowSnapshot s;
    if (!IsWindow(hwnd)) return s;
    s.hwnd = hwnd;
    s.className = GetClassName(hwnd);
    s.kind = GetWindowKind(hwnd);
    s.id = GetDlgCtrlID(hwnd);
    s.style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
    s.exStyle = static_cast<DWORD>(GetWindowLong(hwnd, GWL_EXSTYLE));
    s.text = GetWindowText(hwnd);
    s.enabled = IsWindowEnabled(hwnd);
    s.visible = IsWindowVisible(hwnd);
    s.focused = GetFocus() == hwnd;
    GetWindowRect(hwnd, &s.windowRect);
    switch (s.kind) {
        case WindowKind::CheckBox:
        case WindowKind::RadioButton:
            s.checked = static_cast<int>(SendMessage(hwnd, BM_GETCHECK));
            break;
        case WindowKind::ListBox:
            ReadRows(hwnd, s, false);
            break;
        case WindowKind::ComboBox:
            ReadRows(hwnd, s, true);
            break;
        case WindowKind::Slider:
            s.rangeMin = static_cast<int>(SendMessage(hwnd, TBM_GETRANGEMIN));
            s.rangeMax = static_cast<int>(SendMessage(hwnd, TBM_GETRANGEMAX));
            s.position = static_cast<int>(SendMessage(hwnd, TBM_GETPOS));
            break;
        case WindowKind::Spin: {
            SendMessage(hwnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&s.rangeMin),
                        reinterpret_cast<LPARAM>(&s.rangeMax));
            s.position = static_cast<int>(SendMessage(hwnd, UDM_GETPOS32));
            break;
        }
        case WindowKind::Tab:
            ReadTabs(hwnd, s);
            break;
        default:
            break;
    }
    if (withChildren)
        for (HWND child : GetChildWindows(hwnd)) s.children.push_back(Snapshot(child, true));
    return s;
}

std::wstring FormatSnapshot(const WindowSnapshot& snapshot) {
    std::wostringstream out;
    Line(out, snapshot, 0);
    return out.str();
}

}  // namespace ui
