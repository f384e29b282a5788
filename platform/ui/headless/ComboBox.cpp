// Combo box behaviour (the drop-down list kind): rows with item data, selection from code
// (silent) and by the user through the dropped-down list, with the CBN_* notifications.
#include <algorithm>

#include "Internal.h"

namespace ui::headless {
namespace {

struct ComboBoxState : ExtraState {
    ItemList list;
    bool dropped = false;
};

void ShowSelection(Window& w) {
    const auto& list = w.State<ComboBoxState>().list;
    w.text = list.Valid(list.selection) ? list.items[list.selection].text : std::wstring();
}

void DropDown(Window& w) {
    NotifyCommand(w, CBN_DROPDOWN);
    if (Find(w.handle)) w.State<ComboBoxState>().dropped = true;
}

// Closing the list: first whether the choice stands, then that the list closed.
void RollUp(Window& w, bool accept) {
    const HWND self = w.handle;
    NotifyCommand(w, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!Find(self)) return;
    auto& s = w.State<ComboBoxState>();
    if (!s.dropped) return;
    s.dropped = false;
    NotifyCommand(w, CBN_CLOSEUP);
}

}  // namespace

std::unique_ptr<ExtraState> MakeComboBoxState() {
    return std::make_unique<ComboBoxState>();
}

void ComboListClick(Window& w, int row) {
    auto& s = w.State<ComboBoxState>();
    if (!s.dropped || !s.list.Valid(row)) return;
    const HWND self = w.handle;
    s.list.selection = row;
    ShowSelection(w);
    RollUp(w, true);
    if (Find(self)) NotifyCommand(w, CBN_SELCHANGE);
}

LRESULT ComboBoxProc(Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& s = w.State<ComboBoxState>();
    ItemList& list = s.list;
    const int index = static_cast<int>(wParam);
    auto text = [&] {
        return std::wstring(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
    };
    switch (message) {
        case CB_ADDSTRING:
            return list.Add(text());
        case CB_INSERTSTRING: {
            const int at = list.Insert(index, text());
            return at < 0 ? CB_ERR : at;
        }
        case CB_DELETESTRING: {
            const int left = list.Delete(index);
            ShowSelection(w);
            return left < 0 ? CB_ERR : left;
        }
        case CB_RESETCONTENT:
            list.Reset();
            ShowSelection(w);
            return CB_OKAY;
        case CB_GETCOUNT:
            return list.Count();
        case CB_GETCURSEL:
            return list.selection;
        case CB_SETCURSEL:
            // From code: no notification; out of range clears the selection.
            list.selection = list.Valid(index) ? index : -1;
            ShowSelection(w);
            return list.Valid(index) ? index : CB_ERR;
        case CB_SELECTSTRING: {
            const int found = list.Search(index, text(), false);
            if (found < 0) return CB_ERR;
            list.selection = found;
            ShowSelection(w);
            return found;
        }
        case CB_GETLBTEXT:
            return list.Valid(index) ? CopyOut(list.items[index].text, lParam) : CB_ERR;
        case CB_GETLBTEXTLEN:
            return list.Valid(index) ? static_cast<LRESULT>(list.items[index].text.size()) : CB_ERR;
        case CB_GETITEMDATA:
            return list.Valid(index) ? list.items[index].data : CB_ERR;
        case CB_SETITEMDATA:
            if (!list.Valid(index)) return CB_ERR;
            list.items[index].data = lParam;
            return 1;
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT: {
            const int found = list.Search(index, text(), message == CB_FINDSTRINGEXACT);
            return found < 0 ? CB_ERR : found;
        }
        case CB_SHOWDROPDOWN:
            if (wParam && !s.dropped)
                DropDown(w);
            else if (!wParam && s.dropped)
                RollUp(w, false);
            return 1;
        case CB_GETDROPPEDSTATE:
            return s.dropped ? 1 : 0;
        case CB_GETTOPINDEX:
            return 0;
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
            const MSG* msg = reinterpret_cast<const MSG*>(lParam);
            if (msg && msg->message == WM_KEYDOWN && s.dropped &&
                (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
                code |= DLGC_WANTMESSAGE;  // the open list takes Enter and Escape
            return code;
        }
        case WM_SETFOCUS:
            NotifyCommand(w, CBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            if (s.dropped) RollUp(w, false);
            if (Find(w.handle)) NotifyCommand(w, CBN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
            if (GetFocus() != w.handle) SetFocus(w.handle);
            if (!Find(w.handle) || GetFocus() != w.handle) return 0;
            if (s.dropped)
                RollUp(w, false);
            else
                DropDown(w);
            return 0;
        case WM_KEYDOWN: {
            if (s.dropped && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
                RollUp(w, wParam == VK_RETURN);
                return 0;
            }
            if (wParam != VK_UP && wParam != VK_DOWN) return 0;
            const int row = list.selection < 0 ? 0
                            : wParam == VK_UP  ? std::max(0, list.selection - 1)
                                               : std::min(list.Count() - 1, list.selection + 1);
            if (!list.Valid(row) || row == list.selection) return 0;
            list.selection = row;
            ShowSelection(w);
            NotifyCommand(w, CBN_SELCHANGE);
            return 0;
        }
        default:
            return DefWindowProcImpl(w, message, wParam, lParam);
    }
}

}  // namespace ui::headless
