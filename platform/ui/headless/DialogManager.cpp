// The dialog manager: building dialogs from templates, the dialog class's procedure, tab and
// group order, keyboard handling and ending a modeless dialog.
#include <algorithm>
#include <cmath>

#include "Internal.h"
#include "ui/Template.h"

namespace ui::headless {
namespace {

struct DialogState : ExtraState {
    SIZE baseUnits{6, 13};
    int defaultId = IDOK;
    bool ended = false;
    int result = 0;
};

// a * b / c rounded half away from zero, as the platform's MulDiv.
int MulDiv(int a, int b, int c) {
    const long long n = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(n >= 0 ? (n + half) / c : (n - half) / c);
}

bool OwnVisibleEnabled(const Window& w) {
    return (w.style & WS_VISIBLE) && !(w.style & WS_DISABLED);
}

// The dialog's controls in tab order, descending into visible and enabled control parents;
// each with whether it can take the focus by Tab.
void CollectTabOrder(HWND parent, std::vector<std::pair<HWND, bool>>& out) {
    auto p = Find(parent);
    if (!p) return;
    for (HWND child : p->children) {
        auto c = Find(child);
        if (!c) continue;
        if ((c->exStyle & WS_EX_CONTROLPARENT) && OwnVisibleEnabled(*c)) {
            CollectTabOrder(child, out);
        } else {
            out.emplace_back(child, (c->style & WS_TABSTOP) && OwnVisibleEnabled(*c));
        }
    }
}

bool IsPushButton(HWND hwnd, LRESULT code) {
    return Find(hwnd) && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
}

void PressEnter(HWND dialog) {
    const HWND focus = GetFocus();
    if (IsChild(dialog, focus) && IsPushButton(focus, Deliver(focus, WM_GETDLGCODE, 0, 0))) {
        Deliver(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(focus)), BN_CLICKED),
                reinterpret_cast<LPARAM>(focus));
        return;
    }
    const LRESULT def = Deliver(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(static_cast<std::uintptr_t>(def)) == DC_HASDEFID) {
        const int id = static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(def)));
        const HWND button = GetDlgItem(dialog, id);
        if (!button || IsWindowEnabled(button))
            Deliver(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                    reinterpret_cast<LPARAM>(button));
        return;
    }
    Deliver(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// The next (or previous) control in `control`'s group (from a WS_GROUP control to the next)
// that is visible and enabled by its own style, wrapping; `control` itself when there is none.
HWND NextInGroup(HWND dialog, HWND control, bool previous) {
    auto c = Find(control);
    if (!Find(dialog) || !c) return nullptr;
    auto p = Find(c->parent);
    if (!p) return control;
    const auto& siblings = p->children;
    const auto at = std::find(siblings.begin(), siblings.end(), control);
    if (at == siblings.end()) return control;
    // The group runs from the WS_GROUP control at or before `control` to the next one.
    auto first = at;
    while (first != siblings.begin()) {
        auto w = Find(*first);
        if (w && (w->style & WS_GROUP)) break;
        --first;
    }
    auto last = at + 1;
    while (last != siblings.end()) {
        auto w = Find(*last);
        if (w && (w->style & WS_GROUP)) break;
        ++last;
    }
    std::vector<HWND> group(first, last);
    const auto n = static_cast<long>(group.size());
    const long start = std::find(group.begin(), group.end(), control) - group.begin();
    for (long step = 1; step < n; ++step) {
        const long i = ((previous ? start - step : start + step) % n + n) % n;
        auto w = Find(group[i]);
        if (w && OwnVisibleEnabled(*w)) return group[i];
    }
    return control;
}

}  // namespace

std::unique_ptr<ExtraState> MakeDialogState() {
    return std::make_unique<DialogState>();
}

LRESULT DialogProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& state = window.State<DialogState>();
    switch (message) {
        case WM_NEXTDLGCTL: {
            const HWND target = lParam ? reinterpret_cast<HWND>(wParam)
                                       : GetNextDlgTabItem(window.handle, GetFocus(), wParam != 0);
            if (target) DialogSetFocus(target);
            return 0;
        }
        case DM_GETDEFID:
            if (state.ended) return 0;
            for (HWND child : window.children) {
                auto c = Find(child);
                if (c && plat::EqualsAsciiNoCase(c->className, WC_BUTTON) &&
                    (c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                    return MAKELONG(static_cast<WORD>(c->id), DC_HASDEFID);
            }
            return state.defaultId ? MAKELONG(static_cast<WORD>(state.defaultId), DC_HASDEFID) : 0;
        case DM_SETDEFID:
            state.defaultId = static_cast<int>(wParam);
            return 1;
        case WM_CLOSE:
            PostMessage(window.handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(window.handle, IDCANCEL)));
            return 0;
        default:
            return DefWindowProcImpl(window, message, wParam, lParam);
    }
}

void DialogSetFocus(HWND control) {
    if (Deliver(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) Deliver(control, EM_SETSEL, 0, -1);
    SetFocus(control);
}

HWND InnermostDialog(HWND hwnd) {
    for (auto w = Find(hwnd); w; w = Find(w->parent))
        if (w->cls->proc == DialogProc) return w->handle;
    return nullptr;
}

DialogKey HandleDialogKey(HWND dialog, MSG* msg) {
    if (!Find(dialog) || !msg || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)))
        return DialogKey::NotForDialog;
    if (msg->message == WM_KEYDOWN) {
        const LRESULT code =
            Deliver(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
        if (!(code & DLGC_WANTMESSAGE)) {
            switch (msg->wParam) {
                case VK_TAB:
                    if (code & DLGC_WANTTAB) break;
                    Deliver(dialog, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
                    return DialogKey::Consumed;
                case VK_LEFT:
                case VK_UP:
                case VK_RIGHT:
                case VK_DOWN: {
                    if (code & DLGC_WANTARROWS) break;
                    const bool previous = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
                    const HWND next = NextInGroup(dialog, GetFocus(), previous);
                    if (next) {
                        Deliver(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), 1);
                        if (Deliver(next, WM_GETDLGCODE, msg->wParam, 0) & DLGC_RADIOBUTTON)
                            Deliver(next, BM_CLICK, 0, 0);
                    }
                    return DialogKey::Consumed;
                }
                case VK_ESCAPE:
                    Deliver(dialog, WM_COMMAND, IDCANCEL,
                            reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
                    return DialogKey::Consumed;
                case VK_RETURN:
                    PressEnter(dialog);
                    return DialogKey::Consumed;
                default:
                    break;
            }
        }
    }
    // Characters the control does not ask for would be mnemonics, which nothing here uses;
    // like every other message, they go to the control.
    Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    return DialogKey::Delivered;
}

}  // namespace ui::headless

namespace ui {

using headless::Find;
using headless::Window;

SIZE DialogBaseUnits(int pointSize) {
    if (pointSize <= 0) pointSize = 8;
    return SIZE{headless::MulDiv(6, pointSize, 8), headless::MulDiv(13, pointSize, 8)};
}

bool MapDialogRect(HWND dialog, RECT* rect) {
    auto w = Find(dialog);
    if (!w || !rect || w->cls->proc != headless::DialogProc) return false;
    const SIZE base = w->State<headless::DialogState>().baseUnits;
    rect->left = headless::MulDiv(rect->left, base.cx, 4);
    rect->right = headless::MulDiv(rect->right, base.cx, 4);
    rect->top = headless::MulDiv(rect->top, base.cy, 8);
    rect->bottom = headless::MulDiv(rect->bottom, base.cy, 8);
    return true;
}

HWND CreateDialogIndirect(const DialogTemplate& t, HWND parent, CWnd* object, LPARAM initParam) {
    if (parent && !Find(parent)) return nullptr;
    const SIZE base = DialogBaseUnits(t.fontPointSize);
    auto px = [&](int v) { return headless::MulDiv(v, base.cx, 4); };
    auto py = [&](int v) { return headless::MulDiv(v, base.cy, 8); };

    DWORD style = t.style;
    DWORD exStyle = t.exStyle;
    // As the platform's dialog manager does, a page of another dialog has no caption or frame.
    if (style & DS_CONTROL) {
        style &= ~(WS_CAPTION | WS_SYSMENU);
        exStyle |= WS_EX_CONTROLPARENT;
    }
    if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
    // The template places and sizes the client area; the window's frame goes around it.
    const RECT frame = headless::FrameInsets(style, exStyle);
    int x = px(t.x) - frame.left, y = py(t.y) - frame.top;
    if (!(style & WS_CHILD)) {
        POINT origin{};
        if (parent) ClientToScreen(parent, &origin);
        // A top-level dialog is kept on the screen, whose corner is at (0, 0).
        x = std::max(0, x + static_cast<int>(origin.x));
        y = std::max(0, y + static_cast<int>(origin.y));
    }
    const HWND dialog = CreateWindowEx(exStyle, WC_DIALOG, t.caption.c_str(), style & ~WS_VISIBLE,
                                       x, y, px(t.cx) + frame.left + frame.right,
                                       py(t.cy) + frame.top + frame.bottom, parent, 0, object);
    if (!dialog) return nullptr;
    Find(dialog)->State<headless::DialogState>().baseUnits = base;
    for (const DialogItemTemplate& item : t.items) {
        if (!Find(dialog)) return nullptr;
        const HWND control =
            CreateWindowEx(item.exStyle | WS_EX_NOPARENTNOTIFY, item.className.c_str(),
                           item.text.c_str(), item.style | WS_CHILD, px(item.x), py(item.y),
                           px(item.cx), py(item.cy), dialog, item.id);
        if (!control) {
            DestroyWindow(dialog);
            return nullptr;
        }
    }
    if (!Find(dialog)) return nullptr;
    const HWND first = GetNextDlgTabItem(dialog, nullptr, false);
    const LRESULT wantsFocus =
        SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam);
    if (!Find(dialog)) return nullptr;
    if (wantsFocus && ((style & WS_VISIBLE) || !(style & DS_CONTROL))) {
        if (const HWND focus = GetNextDlgTabItem(dialog, nullptr, false))
            headless::DialogSetFocus(focus);
    }
    if ((style & WS_VISIBLE) && Find(dialog)) ShowWindow(dialog, SW_SHOWNORMAL);
    return Find(dialog) ? dialog : nullptr;
}

HWND CreateDialogFromTemplate(UINT id, HWND parent, CWnd* object, LPARAM initParam) {
    const auto t = FindDialogTemplate(id);
    return t ? CreateDialogIndirect(*t, parent, object, initParam) : nullptr;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, bool previous) {
    if (!Find(dialog)) return nullptr;
    if (control == dialog) control = nullptr;
    // The platform finds nothing backwards from no control (its documentation says otherwise).
    if (!control && previous) return nullptr;
    std::vector<std::pair<HWND, bool>> order;
    headless::CollectTabOrder(dialog, order);
    const auto n = static_cast<long>(order.size());
    if (std::none_of(order.begin(), order.end(), [](const auto& e) { return e.second; }))
        return control;
    // Where the search starts: the control itself, or the entry that contains it.
    long start = -1;
    for (long i = 0; i < n && control; ++i)
        if (order[i].first == control || IsChild(order[i].first, control)) start = i;
    if (start < 0) start = previous ? 0 : n - 1;
    for (long step = 1; step <= n; ++step) {
        const long i = ((previous ? start - step : start + step) % n + n) % n;
        if (order[i].second) return order[i].first;
    }
    return control;
}

bool IsDialogMessage(HWND dialog, MSG* msg) {
    return headless::HandleDialogKey(dialog, msg) != headless::DialogKey::NotForDialog;
}

bool EndDialog(HWND dialog, int result) {
    auto w = Find(dialog);
    if (!w || w->cls->proc != headless::DialogProc) return false;
    auto& state = w->State<headless::DialogState>();
    state.ended = true;
    state.result = result;
    if (IsChild(dialog, GetFocus())) SetFocus(dialog);
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    return true;
}

bool IsDialogEnded(HWND dialog, int* result) {
    auto w = Find(dialog);
    if (!w || w->cls->proc != headless::DialogProc) return false;
    const auto& state = w->State<headless::DialogState>();
    if (result) *result = state.result;
    return state.ended;
}

}  // namespace ui
