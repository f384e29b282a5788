// Tab control behaviour: items with text and item data, selection and focus from code, a
// click on a tab (TCN_SELCHANGING, TCN_SELCHANGE, NM_CLICK), and the header geometry.
//
// Geometry: one row of tab headers along the top, 18 px high (a line of 8-point text with its
// padding) from y = 2; the first header starts at x = 2 and each is as wide as its text at
// 6 px a character plus 12 px of padding, at least 48 px. The display area is the window less
// 4 px on every side and less the header row at the top.
#include <algorithm>

#include "Internal.h"

namespace ui::headless {
namespace {

constexpr int kHeaderTop = 2;
constexpr int kHeaderHeight = 18;
constexpr int kHeaderLeft = 2;
constexpr int kFrame = 4;

struct TabItem {
    std::wstring text;
    LPARAM param = 0;
    int image = -1;
    DWORD state = 0;
};

struct TabState : ExtraState {
    std::vector<TabItem> items;
    int selection = -1;
    int focus = -1;

    int Count() const { return static_cast<int>(items.size()); }
    bool Valid(int i) const { return i >= 0 && i < Count(); }
};

int HeaderWidth(const TabItem& item) {
    return std::max(48, 12 + 6 * static_cast<int>(item.text.size()));
}

RECT HeaderRect(const TabState& s, int index) {
    int left = kHeaderLeft;
    for (int i = 0; i < index; ++i) left += HeaderWidth(s.items[static_cast<std::size_t>(i)]);
    return RECT{left, kHeaderTop, left + HeaderWidth(s.items[static_cast<std::size_t>(index)]),
                kHeaderTop + kHeaderHeight};
}

int HitTest(const TabState& s, POINT p) {
    for (int i = 0; i < s.Count(); ++i) {
        const RECT r = HeaderRect(s, i);
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return i;
    }
    return -1;
}

void ApplyItem(TabItem& item, const TCITEM& from) {
    if (from.mask & TCIF_TEXT) item.text = from.pszText ? from.pszText : L"";
    if (from.mask & TCIF_PARAM) item.param = from.lParam;
    if (from.mask & TCIF_IMAGE) item.image = from.iImage;
    if (from.mask & TCIF_STATE)
        item.state = (item.state & ~from.dwStateMask) | (from.dwState & from.dwStateMask);
}

// A user's change of tab: asks first, and changes nothing when the parent refuses.
void UserSelect(Window& w, int index) {
    const HWND self = w.handle;
    if (NotifyParent(w, TCN_SELCHANGING) || !Find(self)) return;
    auto& s = w.State<TabState>();
    if (!s.Valid(index)) return;
    s.selection = s.focus = index;
    NotifyParent(w, TCN_SELCHANGE);
}

// TCM_SETCURFOCUS. Without TCS_BUTTONS focusing a tab selects it: the parent is asked first
// (TCN_SELCHANGING) and told after (TCN_SELCHANGE); removing the focus only tells, and only
// when a tab was selected.
void SetCurFocus(Window& w, int index) {
    auto& s = w.State<TabState>();
    if (index >= s.Count()) return;
    if (w.style & TCS_BUTTONS) {
        const int target = index < 0 ? -1 : index;
        if (target == s.focus) return;
        s.focus = target;
        NotifyParent(w, TCN_FOCUSCHANGE);
        return;
    }
    if (index < 0) {
        s.focus = -1;
        if (s.selection == -1) return;
        s.selection = -1;
        NotifyParent(w, TCN_SELCHANGE);
        return;
    }
    if (index == s.selection && s.focus != -1) return;
    const int oldFocus = s.focus;
    s.focus = index;
    if (oldFocus == -1) return;
    // The parent is asked, but its refusal does not keep the selection: it moves all the
    // same, only without TCN_SELCHANGE.
    const HWND self = w.handle;
    const bool refused = NotifyParent(w, TCN_SELCHANGING) != 0;
    if (!Find(self)) return;
    s.selection = index;
    if (!refused) NotifyParent(w, TCN_SELCHANGE);
}

}  // namespace

std::unique_ptr<ExtraState> MakeTabState() {
    return std::make_unique<TabState>();
}

LRESULT TabProc(Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& s = w.State<TabState>();
    const int index = static_cast<int>(wParam);
    switch (message) {
        case TCM_GETITEMCOUNT:
            return s.Count();
        case TCM_INSERTITEM: {
            if (!lParam || index < 0) return -1;
            const int at = std::min(index, s.Count());
            TabItem item;
            ApplyItem(item, *reinterpret_cast<const TCITEM*>(lParam));
            s.items.insert(s.items.begin() + at, item);
            if (s.focus == -1) {
                // The first tab of an empty control (or one without focus) takes the focus
                // and, with no tab selected, the selection, silently.
                s.focus = at;
                if (s.selection == -1) s.selection = at;
            } else {
                if (s.selection >= at) ++s.selection;
                if (s.focus >= at) ++s.focus;
            }
            return at;
        }
        case TCM_DELETEITEM:
            if (!s.Valid(index)) return 0;
            s.items.erase(s.items.begin() + index);
            if (s.selection == index)
                s.selection = -1;
            else if (s.selection > index)
                --s.selection;
            // The focus index stays as it stood, as the platform's control leaves it.
            return 1;
        case TCM_DELETEALLITEMS:
            s.items.clear();
            s.selection = s.focus = -1;
            return 1;
        case TCM_GETITEM: {
            if (!lParam) return 0;
            auto& out = *reinterpret_cast<TCITEM*>(lParam);
            if (!s.Valid(index)) {
                if (out.mask & TCIF_PARAM) out.lParam = 0;
                if (out.mask & TCIF_IMAGE) out.iImage = 0;
                if (out.mask & TCIF_STATE) out.dwState = 0;
                return 0;
            }
            const TabItem& item = s.items[static_cast<std::size_t>(index)];
            if ((out.mask & TCIF_TEXT) && out.pszText && out.cchTextMax > 0) {
                const std::size_t n = std::min<std::size_t>(
                    item.text.size(), static_cast<std::size_t>(out.cchTextMax - 1));
                std::copy_n(item.text.begin(), n, out.pszText);
                out.pszText[n] = L'\0';
            }
            if (out.mask & TCIF_PARAM) out.lParam = item.param;
            if (out.mask & TCIF_IMAGE) out.iImage = item.image;
            if (out.mask & TCIF_STATE) {
                const DWORD state = item.state | (index == s.selection ? TCIS_BUTTONPRESSED : 0);
                out.dwState = state & out.dwStateMask;
            }
            return 1;
        }
        case TCM_SETITEM:
            if (!lParam || !s.Valid(index)) return 0;
            ApplyItem(s.items[static_cast<std::size_t>(index)],
                      *reinterpret_cast<const TCITEM*>(lParam));
            return 1;
        case TCM_GETCURSEL:
            return s.selection;
        case TCM_SETCURSEL: {
            // From code: no notification; selecting also focuses.
            if (index >= s.Count()) return -1;
            const int previous = s.selection;
            s.selection = s.focus = index < 0 ? -1 : index;
            return previous;
        }
        case TCM_GETCURFOCUS:
            return s.focus;
        case TCM_SETCURFOCUS:
            SetCurFocus(w, index);
            return 0;
        case TCM_GETITEMRECT:
            if (!lParam || !s.Valid(index)) return 0;
            *reinterpret_cast<RECT*>(lParam) = HeaderRect(s, index);
            return 1;
        case TCM_ADJUSTRECT: {
            if (!lParam) return -1;
            auto& r = *reinterpret_cast<RECT*>(lParam);
            const int sign = wParam ? -1 : 1;  // larger: from a display area to the window
            r.left += sign * kFrame;
            r.right -= sign * kFrame;
            r.bottom -= sign * kFrame;
            r.top += sign * (kFrame + kHeaderHeight);
            return 0;
        }
        case TCM_HITTEST: {
            if (!lParam) return -1;
            auto& info = *reinterpret_cast<TCHITTESTINFO*>(lParam);
            const int hit = HitTest(s, info.pt);
            info.flags = hit < 0 ? TCHT_NOWHERE : TCHT_ONITEM;
            return hit;
        }
        case TCM_GETROWCOUNT:
            return s.Count() ? 1 : 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_LBUTTONDOWN: {
            if (!(w.style & TCS_FOCUSNEVER)) SetFocus(w.handle);
            if (!Find(w.handle)) return 0;
            const int hit = HitTest(s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (hit != -1 && hit != s.selection) UserSelect(w, hit);
            return 0;
        }
        case WM_LBUTTONUP:
            NotifyParent(w, NM_CLICK);
            return 0;
        case WM_KEYDOWN: {
            NMTCKEYDOWN key;
            key.hdr.code = TCN_KEYDOWN;
            key.wVKey = static_cast<WORD>(wParam);
            key.flags = static_cast<UINT>(lParam);
            const HWND self = w.handle;
            NotifyParent(w, key.hdr);
            if (!Find(self)) return 0;
            int next = -1;
            if (wParam == VK_LEFT) next = s.focus - 1;
            if (wParam == VK_RIGHT) next = s.focus + 1;
            if (s.Valid(next) && next != s.focus) UserSelect(w, next);
            return 0;
        }
        default:
            return DefWindowProcImpl(w, message, wParam, lParam);
    }
}

}  // namespace ui::headless
