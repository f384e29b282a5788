// Button (push button, check box, radio button, group box) and static control behaviour.
#include <algorithm>

#include "Internal.h"

namespace ui::headless {
namespace {

struct ButtonState : ExtraState {
    int check = BST_UNCHECKED;
    bool pushed = false;   // drawn pushed in
    bool pressed = false;  // the mouse went down on it and has not come up
    bool focused = false;
};

DWORD TypeOf(const Window& w) {
    return w.style & BS_TYPEMASK;
}

int MaxCheck(DWORD type) {
    switch (type) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return BST_CHECKED;
        case BS_3STATE:
        case BS_AUTO3STATE:
            return BST_INDETERMINATE;
        default:
            return BST_UNCHECKED;
    }
}

// Checking an automatic radio button unchecks the other automatic ones of its group.
void UncheckGroup(Window& button) {
    auto parent = Find(button.parent);
    if (!parent) return;
    const auto& siblings = parent->children;
    const auto at = std::find(siblings.begin(), siblings.end(), button.handle);
    if (at == siblings.end()) return;
    auto first = at;
    while (first != siblings.begin()) {
        auto w = Find(*first);
        if (w && (w->style & WS_GROUP)) break;
        --first;
    }
    for (auto it = first; it != siblings.end(); ++it) {
        auto w = Find(*it);
        if (!w) continue;
        if (it != first && (w->style & WS_GROUP)) break;
        if (w->handle != button.handle && w->cls->proc == ButtonProc &&
            TypeOf(*w) == BS_AUTORADIOBUTTON)
            Deliver(w->handle, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

}  // namespace

std::unique_ptr<ExtraState> MakeButtonState() {
    return std::make_unique<ButtonState>();
}

LRESULT ButtonProc(Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& s = w.State<ButtonState>();
    const DWORD type = TypeOf(w);
    switch (message) {
        case WM_GETDLGCODE:
            switch (type) {
                case BS_PUSHBUTTON:
                    return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
                case BS_DEFPUSHBUTTON:
                    return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
                case BS_RADIOBUTTON:
                case BS_AUTORADIOBUTTON:
                    return DLGC_BUTTON | DLGC_RADIOBUTTON;
                case BS_GROUPBOX:
                    return DLGC_STATIC;
                default:
                    return DLGC_BUTTON;
            }
        case WM_LBUTTONDOWN:
            if (type == BS_GROUPBOX) return 0;  // group boxes let clicks through to the parent
            SetFocus(w.handle);
            SetCapture(w.handle);
            s.pressed = true;
            Deliver(w.handle, BM_SETSTATE, 1, 0);
            return 0;
        case WM_LBUTTONUP: {
            if (!s.pressed) return 0;
            s.pressed = false;
            if (!s.pushed) {
                ReleaseCapture();
                return 0;
            }
            Deliver(w.handle, BM_SETSTATE, 0, 0);
            if (!PointInClient(w, lParam)) {
                ReleaseCapture();
                return 0;
            }
            switch (type) {
                case BS_AUTOCHECKBOX:
                    Deliver(w.handle, BM_SETCHECK,
                            (s.check & BST_CHECKED) ? BST_UNCHECKED : BST_CHECKED, 0);
                    break;
                case BS_AUTORADIOBUTTON:
                    Deliver(w.handle, BM_SETCHECK, BST_CHECKED, 0);
                    UncheckGroup(w);
                    break;
                case BS_AUTO3STATE:
                    Deliver(w.handle, BM_SETCHECK,
                            (s.check & BST_INDETERMINATE) ? BST_UNCHECKED : (s.check & 3) + 1, 0);
                    break;
                default:
                    break;
            }
            ReleaseCapture();
            NotifyCommand(w, BN_CLICKED);
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) == w.handle) return 0;
            if (s.pressed) {
                s.pressed = false;
                if (s.pushed) Deliver(w.handle, BM_SETSTATE, 0, 0);
            }
            return 0;
        case WM_SETFOCUS:
            s.focused = true;
            if (w.style & BS_NOTIFY) NotifyCommand(w, BN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            s.focused = false;
            if (w.style & BS_NOTIFY) NotifyCommand(w, BN_KILLFOCUS);
            if (s.pressed && GetCapture() == w.handle) ReleaseCapture();
            return 0;
        case BM_GETCHECK:
            return s.check;
        case BM_SETCHECK:
            s.check = std::min(static_cast<int>(wParam), MaxCheck(type));
            return 0;
        case BM_GETSTATE:
            return s.check | (s.pushed ? BST_PUSHED : 0) | (s.focused ? BST_FOCUS : 0);
        case BM_SETSTATE:
            s.pushed = wParam != 0;
            return 0;
        case BM_SETSTYLE:
            w.style = (w.style & 0xFFFF0000u) | (static_cast<DWORD>(wParam) & 0xFFFFu);
            return 0;
        case BM_CLICK:
            Deliver(w.handle, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            Deliver(w.handle, WM_LBUTTONUP, 0, 0);
            return 0;
        default:
            return DefWindowProcImpl(w, message, wParam, lParam);
    }
}

LRESULT StaticProc(Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_LBUTTONDOWN:
            if (w.style & SS_NOTIFY) NotifyCommand(w, STN_CLICKED);
            return 0;
        default:
            return DefWindowProcImpl(w, message, wParam, lParam);
    }
}

}  // namespace ui::headless
