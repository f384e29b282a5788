// List box behaviour: rows with item data, selection from code (silent) and by the mouse or
// keyboard (LBN_SELCHANGE with LBS_NOTIFY), focus notifications and scrolling.
#include <algorithm>

#include "Internal.h"

namespace ui::headless {
namespace {

constexpr int kItemHeight = 13;  // one row of 8-point text

struct ListBoxState : ExtraState {
    ItemList list;
    int top = 0;
    int caret = 0;
    bool captured = false;
};

int VisibleRows(const Window& w) {
    return std::max<int>(1, ClientRectOf(w).bottom / kItemHeight);
}

void Notify(Window& w, WORD code) {
    if (w.style & LBS_NOTIFY) NotifyCommand(w, code);
}

void EndMouseSelection(Window& w) {
    auto& s = w.State<ListBoxState>();
    if (!s.captured) return;
    s.captured = false;
    if (GetCapture() == w.handle) ReleaseCapture();
    // The list reports a mouse selection when the button comes up, even for the same row.
    if (s.list.Count() > 0) Notify(w, LBN_SELCHANGE);
}

}  // namespace

int ItemList::Add(const std::wstring& text) {
    return Insert(Count(), text);
}

int ItemList::Insert(int index, const std::wstring& text) {
    if (index == -1) index = Count();
    if (index < 0 || index > Count()) return -1;
    items.insert(items.begin() + index, ListItem{text, 0});
    if (selection >= index) ++selection;
    return index;
}

int ItemList::Delete(int index) {
    if (!Valid(index)) return -1;
    items.erase(items.begin() + index);
    if (selection == index)
        selection = -1;
    else if (selection > index)
        --selection;
    return Count();
}

void ItemList::Reset() {
    items.clear();
    selection = -1;
}

int ItemList::Search(int startAfter, const std::wstring& text, bool exact) const {
    const int n = Count();
    if (n == 0) return -1;
    const int first = (startAfter < 0 || startAfter >= n) ? 0 : startAfter + 1;
    for (int step = 0; step < n; ++step) {
        const int i = (first + step) % n;
        const std::wstring& t = items[static_cast<std::size_t>(i)].text;
        if (exact ? plat::EqualsAsciiNoCase(t, text) : plat::StartsWithAsciiNoCase(t, text))
            return i;
    }
    return -1;
}

std::unique_ptr<ExtraState> MakeListBoxState() {
    return std::make_unique<ListBoxState>();
}

void ListBoxScrollIntoView(Window& w, int row) {
    auto& s = w.State<ListBoxState>();
    if (row < s.top) s.top = row;
    if (row >= s.top + VisibleRows(w)) s.top = row - VisibleRows(w) + 1;
}

LPARAM ListBoxRowPoint(Window& w, int row) {
    const auto& s = w.State<ListBoxState>();
    const int x = std::max<int>(1, ClientRectOf(w).right / 2);
    const int y = (row - s.top) * kItemHeight + kItemHeight / 2;
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

LRESULT ListBoxProc(Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& s = w.State<ListBoxState>();
    ItemList& list = s.list;
    const int index = static_cast<int>(wParam);
    auto text = [&] {
        return std::wstring(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
    };
    switch (message) {
        case LB_ADDSTRING:
            return list.Add(text());
        case LB_INSERTSTRING: {
            const int at = list.Insert(index, text());
            return at < 0 ? LB_ERR : at;
        }
        case LB_DELETESTRING: {
            const int left = list.Delete(index);
            if (left < 0) return LB_ERR;
            s.top = std::clamp(s.top, 0, std::max(0, left - 1));
            return left;
        }
        case LB_RESETCONTENT:
            list.Reset();
            s.top = s.caret = 0;
            return 0;
        case LB_GETCOUNT:
            return list.Count();
        case LB_GETCURSEL:
            return list.selection;
        case LB_SETCURSEL:
            // From code: no notification. Out of range leaves the selection as it is.
            if (index < -1 || index >= list.Count()) return LB_ERR;
            list.selection = index;
            if (index < 0) return LB_ERR;
            s.caret = index;
            ListBoxScrollIntoView(w, index);
            return index;
        case LB_GETTEXT:
            return list.Valid(index) ? CopyOut(list.items[index].text, lParam) : LB_ERR;
        case LB_GETTEXTLEN:
            return list.Valid(index) ? static_cast<LRESULT>(list.items[index].text.size()) : LB_ERR;
        case LB_GETITEMDATA:
            return list.Valid(index) ? list.items[index].data : LB_ERR;
        case LB_SETITEMDATA:
            if (index == -1) {
                for (ListItem& item : list.items) item.data = lParam;
                return 1;
            }
            if (!list.Valid(index)) return LB_ERR;
            list.items[index].data = lParam;
            return 1;
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT: {
            const int found = list.Search(index, text(), message == LB_FINDSTRINGEXACT);
            return found < 0 ? LB_ERR : found;
        }
        case LB_SELECTSTRING: {
            const int found = list.Search(index, text(), false);
            if (found < 0) return LB_ERR;
            return ListBoxProc(w, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
        }
        case LB_GETTOPINDEX:
            return s.top;
        case LB_SETTOPINDEX:
            if (index < 0 || (list.Count() > 0 && index >= list.Count())) return LB_ERR;
            s.top = index;
            return 0;
        case LB_GETCARETINDEX:
            return s.caret;
        case LB_SETCARETINDEX:
            if (!list.Valid(index)) return LB_ERR;
            s.caret = index;
            return 0;
        case LB_GETITEMHEIGHT:
            return kItemHeight;
        case LB_GETITEMRECT: {
            if (!list.Valid(index) || !lParam) return LB_ERR;
            const int y = (index - s.top) * kItemHeight;
            *reinterpret_cast<RECT*>(lParam) = RECT{0, y, ClientRectOf(w).right, y + kItemHeight};
            return 1;
        }
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
            NotifyCommand(w, LBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            EndMouseSelection(w);  // a lost focus ends a pending mouse selection
            if (Find(w.handle)) NotifyCommand(w, LBN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN: {
            if (GetFocus() != w.handle) SetFocus(w.handle);
            if (!Find(w.handle)) return 0;
            const int row = s.top + GET_Y_LPARAM(lParam) / kItemHeight;
            if (GET_Y_LPARAM(lParam) < 0 || !list.Valid(row)) return 0;
            s.captured = true;
            SetCapture(w.handle);
            list.selection = row;
            s.caret = row;
            return 0;
        }
        case WM_LBUTTONUP:
            EndMouseSelection(w);
            return 0;
        case WM_KEYDOWN: {
            if (list.Count() == 0) return 0;
            int row = list.selection < 0 ? s.caret : list.selection;
            switch (wParam) {
                case VK_UP:
                    row = std::max(0, row - 1);
                    break;
                case VK_DOWN:
                    row = std::min(list.Count() - 1, row + 1);
                    break;
                case VK_HOME:
                    row = 0;
                    break;
                case VK_END:
                    row = list.Count() - 1;
                    break;
                default:
                    return 0;
            }
            if (row == list.selection) return 0;
            list.selection = s.caret = row;
            ListBoxScrollIntoView(w, row);
            Notify(w, LBN_SELCHANGE);
            return 0;
        }
        default:
            return DefWindowProcImpl(w, message, wParam, lParam);
    }
}

}  // namespace ui::headless
