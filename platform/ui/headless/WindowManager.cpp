// The headless window manager: window records and handles, the tree, state, geometry,
// message delivery, focus, capture and the clipboard.
#include <algorithm>
#include <unordered_map>

#include "../common/Backend.h"
#include "Internal.h"
#include "ui/Wnd.h"

namespace ui::headless {
namespace {

const WindowClass kClasses[] = {
    {WC_BUTTON, ButtonProc, MakeButtonState},
    {WC_EDIT, EditProc, MakeEditState},
    {WC_STATIC, StaticProc, nullptr},
    {WC_LISTBOX, ListBoxProc, MakeListBoxState},
    {WC_COMBOBOX, ComboBoxProc, MakeComboBoxState},
    {TRACKBAR_CLASS, TrackbarProc, MakeTrackbarState},
    {UPDOWN_CLASS, UpDownProc, MakeUpDownState},
    {WC_TABCONTROL, TabProc, MakeTabState},
    {WC_DIALOG, DialogProc, MakeDialogState},
};
const WindowClass kPlainWindow = {L"", DefWindowProcImpl, nullptr};

const WindowClass* LookupClass(const wchar_t* name) {
    const std::wstring wanted = name ? name : L"";
    for (const WindowClass& cls : kClasses)
        if (plat::EqualsAsciiNoCase(wanted, cls.name)) return &cls;
    return &kPlainWindow;
}

// Handles are never reused, so a stale handle can never reach a newer window.
struct Table {
    std::mutex mutex;
    std::unordered_map<std::uintptr_t, std::shared_ptr<Window>> windows;
    std::uint64_t next = 1;
};

Table& TheTable() {
    static Table* table = new Table;  // outlives every static destructor that may use it
    return *table;
}

using Insets = RECT;

Insets FrameOf(DWORD style, DWORD exStyle) {
    int border = 0;
    if (style & WS_THICKFRAME)
        border = 4;
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        border = 3;
    else if (style & WS_BORDER)
        border = 1;
    if (exStyle & WS_EX_CLIENTEDGE) border += 2;
    if (exStyle & WS_EX_STATICEDGE) border += 1;
    Insets in{border, border, border, border};
    if ((style & WS_CAPTION) == WS_CAPTION) in.top += 18;
    return in;
}

POINT ClientOrigin(const Window& w);

// The window's top-left corner in screen coordinates.
POINT WindowOrigin(const Window& w) {
    POINT p{w.rect.left, w.rect.top};
    if (auto parent = Find(w.parent)) {
        const POINT o = ClientOrigin(*parent);
        p.x += o.x;
        p.y += o.y;
    }
    return p;
}

POINT ClientOrigin(const Window& w) {
    POINT p = WindowOrigin(w);
    const Insets in = FrameOf(w.style, w.exStyle);
    p.x += in.left;
    p.y += in.top;
    return p;
}

void Unlink(Window& w) {
    if (auto parent = Find(w.parent)) {
        auto& list = parent->children;
        list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
    }
}

bool InTree(HWND root, HWND hwnd) {
    return hwnd && (hwnd == root || IsChild(root, hwnd));
}

void SendDestroyTree(HWND hwnd) {
    auto w = Find(hwnd);
    if (!w) return;
    w->destroying = true;
    Deliver(hwnd, WM_DESTROY, 0, 0);
    if (!Find(hwnd)) return;
    const std::vector<HWND> children = w->children;
    for (HWND child : children) SendDestroyTree(child);
}

void FreeTree(HWND hwnd) {
    auto w = Find(hwnd);
    if (!w) return;
    w->destroying = true;
    const std::vector<HWND> children = w->children;
    for (HWND child : children) FreeTree(child);
    Deliver(hwnd, WM_NCDESTROY, 0, 0);
    ThreadState& ts = *w->thread;
    ts.clock.Forget(hwnd);
    if (ts.focus == hwnd) ts.focus = nullptr;
    if (ts.capture == hwnd) ts.capture = nullptr;
    Unlink(*w);
    w->destroyed = true;
    w->object = nullptr;
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    table.windows.erase(reinterpret_cast<std::uintptr_t>(hwnd));
}

std::mutex g_clipboardMutex;
std::wstring g_clipboard;

}  // namespace

RECT FrameInsets(DWORD style, DWORD exStyle) {
    return FrameOf(style, exStyle);
}

std::shared_ptr<Window> Find(HWND hwnd) {
    if (!hwnd) return nullptr;
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    auto it = table.windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
    return it == table.windows.end() ? nullptr : it->second;
}

HWND FindChild(const Window& parent, int id) {
    // Pages look their controls up all the time: one lock for the whole walk, no record kept.
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    for (HWND child : parent.children) {
        auto it = table.windows.find(reinterpret_cast<std::uintptr_t>(child));
        if (it != table.windows.end() && it->second->id == id) return child;
    }
    return nullptr;
}

LRESULT Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto w = Find(hwnd);  // keeps the record alive while its procedure runs
    if (!w) return 0;
    if (w->object) return detail::DeliverToObject(w->object, hwnd, message, wParam, lParam);
    return w->cls->proc(*w, message, wParam, lParam);
}

LRESULT DefaultProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    return window.cls->proc(window, message, wParam, lParam);
}

LRESULT DefWindowProcImpl(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            return 1;
        case WM_SETTEXT:
            window.text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
            return 1;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(window.text.size());
        case WM_GETTEXT: {
            if (wParam == 0 || lParam == 0) return 0;
            auto* out = reinterpret_cast<wchar_t*>(lParam);
            const std::size_t n = std::min<std::size_t>(window.text.size(), wParam - 1);
            std::copy_n(window.text.begin(), n, out);
            out[n] = L'\0';
            return static_cast<LRESULT>(n);
        }
        case WM_CLOSE:
            DestroyWindow(window.handle);
            return 0;
        default:
            return 0;
    }
}

void NotifyCommand(Window& control, WORD code) {
    const HWND target = control.parent;
    if (!Find(target)) return;
    Deliver(target, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(control.id), code),
            reinterpret_cast<LPARAM>(control.handle));
}

LRESULT NotifyParent(Window& control, NMHDR& header) {
    header.hwndFrom = control.handle;
    header.idFrom = static_cast<UINT_PTR>(control.id);
    const HWND target = control.parent;
    if (!Find(target)) return 0;
    return Deliver(target, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

LRESULT NotifyParent(Window& control, UINT code) {
    NMHDR header;
    header.code = code;
    return NotifyParent(control, header);
}

void NotifyScroll(Window& control, bool vertical, WORD code, int position) {
    const HWND target = control.parent;
    if (!Find(target)) return;
    Deliver(target, vertical ? WM_VSCROLL : WM_HSCROLL,
            MAKEWPARAM(code, static_cast<WORD>(position)),
            reinterpret_cast<LPARAM>(control.handle));
}

RECT ClientRectOf(const Window& window) {
    const Insets in = FrameOf(window.style, window.exStyle);
    RECT r;
    r.right = std::max(0, window.rect.right - window.rect.left - in.left - in.right);
    r.bottom = std::max(0, window.rect.bottom - window.rect.top - in.top - in.bottom);
    return r;
}

bool PointInClient(const Window& window, LPARAM point) {
    const RECT r = ClientRectOf(window);
    const int x = GET_X_LPARAM(point), y = GET_Y_LPARAM(point);
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

LRESULT CopyOut(const std::wstring& text, LPARAM buffer) {
    if (!buffer) return -1;
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    std::copy(text.begin(), text.end(), out);
    out[text.size()] = L'\0';
    return static_cast<LRESULT>(text.size());
}

}  // namespace ui::headless

namespace ui::detail {

bool BindObject(HWND hwnd, CWnd* object) {
    auto w = headless::Find(hwnd);
    if (!w || (w->object && w->object != object)) return false;
    w->object = object;
    object->m_hWnd = hwnd;
    return true;
}

CWnd* BoundObject(HWND hwnd) {
    auto w = headless::Find(hwnd);
    return w ? w->object : nullptr;
}

void UnbindObject(HWND hwnd, CWnd* object) {
    if (auto w = headless::Find(hwnd); w && w->object == object) w->object = nullptr;
    if (object && object->m_hWnd == hwnd) object->m_hWnd = nullptr;
}

}  // namespace ui::detail

namespace ui {

using headless::Find;
using headless::Window;

HWND CreateWindowEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                    int x, int y, int cx, int cy, HWND parent, int id, CWnd* object,
                    void* createParams) {
    if (parent && !Find(parent)) return nullptr;
    auto w = std::make_shared<Window>();
    w->cls = headless::LookupClass(className);
    w->className = *w->cls->name ? w->cls->name : (className ? className : L"");
    w->parent = parent;
    w->id = id;
    // WS_VISIBLE is set after creation, by showing the window, as the platform does.
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    w->text = text ? text : L"";
    w->rect = RECT{x, y, x + std::max(cx, 0), y + std::max(cy, 0)};
    w->thread = headless::CurrentThread();
    if (w->cls->makeState) w->extra = w->cls->makeState();
    {
        headless::Table& table = headless::TheTable();
        std::lock_guard lock(table.mutex);
        w->handle =
            reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x10000 + 16 * table.next++));
        table.windows.emplace(reinterpret_cast<std::uintptr_t>(w->handle), w);
    }
    const HWND hwnd = w->handle;
    if (auto p = Find(parent)) p->children.push_back(hwnd);
    if (object && !detail::BindObject(hwnd, object)) {
        DestroyWindow(hwnd);
        return nullptr;
    }

    CREATESTRUCT cs;
    cs.lpCreateParams = createParams;
    cs.hwndParent = parent;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = text;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    cs.hMenu = reinterpret_cast<void*>(static_cast<std::intptr_t>(id));
    if (!headless::Deliver(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
        headless::Deliver(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!Find(hwnd)) return nullptr;
    const RECT client = headless::ClientRectOf(*w);
    headless::Deliver(hwnd, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    headless::Deliver(hwnd, WM_MOVE, 0, MAKELPARAM(w->rect.left, w->rect.top));
    if ((style & WS_VISIBLE) && Find(hwnd)) ShowWindow(hwnd, SW_SHOW);
    return Find(hwnd) ? hwnd : nullptr;
}

bool DestroyWindow(HWND hwnd) {
    auto w = Find(hwnd);
    if (!w) return false;
    if (w->destroying) return true;
    w->destroying = true;
    headless::ThreadState& ts = *w->thread;
    if (w->style & WS_VISIBLE) {
        if (w->style & WS_CHILD)
            ShowWindow(hwnd, SW_HIDE);  // also hands the focus to the parent
        else
            w->style &= ~WS_VISIBLE;
    }
    if (headless::InTree(hwnd, ts.focus)) {
        const HWND parent = (w->style & WS_CHILD) ? w->parent : nullptr;
        if (!parent || !SetFocus(parent)) SetFocus(nullptr);
    }
    if (headless::InTree(hwnd, ts.capture)) ReleaseCapture();
    headless::SendDestroyTree(hwnd);
    headless::FreeTree(hwnd);
    return true;
}

bool IsWindow(HWND hwnd) {
    return Find(hwnd) != nullptr;
}

std::wstring GetClassName(HWND hwnd) {
    auto w = Find(hwnd);
    return w ? w->className : std::wstring();
}

HWND GetParent(HWND hwnd) {
    auto w = Find(hwnd);
    return w ? w->parent : nullptr;
}

HWND SetParent(HWND hwnd, HWND newParent) {
    auto w = Find(hwnd);
    if (!w) return nullptr;
    auto np = Find(newParent);
    if (newParent && (!np || newParent == hwnd || IsChild(hwnd, newParent))) return nullptr;
    const HWND old = w->parent;
    const bool wasVisible = ShowWindow(hwnd, SW_HIDE);
    headless::Unlink(*w);
    w->parent = newParent;
    if (np) np->children.insert(np->children.begin(), hwnd);
    if (wasVisible) ShowWindow(hwnd, SW_SHOW);
    return old;
}

bool IsChild(HWND parent, HWND hwnd) {
    if (!parent) return false;
    auto w = Find(hwnd);
    while (w) {
        if (w->parent == parent) return true;
        w = Find(w->parent);
    }
    return false;
}

HWND GetWindow(HWND hwnd, UINT relation) {
    auto w = Find(hwnd);
    if (!w) return nullptr;
    if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
    auto p = Find(w->parent);
    if (!p) return relation == GW_HWNDFIRST || relation == GW_HWNDLAST ? hwnd : nullptr;
    const auto& list = p->children;
    const auto it = std::find(list.begin(), list.end(), hwnd);
    switch (relation) {
        case GW_HWNDFIRST:
            return list.front();
        case GW_HWNDLAST:
            return list.back();
        case GW_HWNDNEXT:
            return (it == list.end() || it + 1 == list.end()) ? nullptr : *(it + 1);
        case GW_HWNDPREV:
            return (it == list.begin() || it == list.end()) ? nullptr : *(it - 1);
        default:
            return nullptr;
    }
}

HWND GetDlgItem(HWND dialog, int id) {
    auto w = Find(dialog);
    if (!w) return nullptr;
    return headless::FindChild(*w, id);
}

int GetDlgCtrlID(HWND hwnd) {
    auto w = Find(hwnd);
    return w ? w->id : 0;
}

LONG GetWindowLong(HWND hwnd, int index) {
    auto w = Find(hwnd);
    if (!w) return 0;
    switch (index) {
        case GWL_STYLE:
            return static_cast<LONG>(w->style);
        case GWL_EXSTYLE:
            return static_cast<LONG>(w->exStyle);
        case GWL_ID:
            return w->id;
        default:
            return 0;
    }
}

LONG SetWindowLong(HWND hwnd, int index, LONG value) {
    auto w = Find(hwnd);
    if (!w) return 0;
    const LONG old = GetWindowLong(hwnd, index);
    switch (index) {
        case GWL_STYLE:
            w->style = static_cast<DWORD>(value);
            break;
        case GWL_EXSTYLE:
            w->exStyle = static_cast<DWORD>(value);
            break;
        case GWL_ID:
            w->id = value;
            break;
        default:
            return 0;
    }
    return old;
}

bool ShowWindow(HWND hwnd, int command) {
    auto w = Find(hwnd);
    if (!w) return false;
    const bool was = (w->style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    if (show == was) return was;
    headless::Deliver(hwnd, WM_SHOWWINDOW, show ? 1 : 0, 0);
    if (!Find(hwnd)) return was;
    if (show) {
        w->style |= WS_VISIBLE;
    } else {
        w->style &= ~WS_VISIBLE;
        // A hidden window cannot keep the focus: it goes to the parent. (A window inside it
        // keeps the focus, as on the platform.)
        if (w->thread->focus == hwnd) {
            const HWND parent = (w->style & WS_CHILD) ? w->parent : nullptr;
            if (!parent || !SetFocus(parent)) SetFocus(nullptr);
        }
    }
    return was;
}

bool IsWindowVisible(HWND hwnd) {
    auto w = Find(hwnd);
    if (!w) return false;
    for (; w; w = Find(w->parent))
        if (!(w->style & WS_VISIBLE)) return false;
    return true;
}

bool EnableWindow(HWND hwnd, bool enable) {
    auto w = Find(hwnd);
    if (!w) return false;
    const bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        headless::Deliver(hwnd, WM_ENABLE, 1, 0);
    } else if (!enable && !wasDisabled) {
        headless::Deliver(hwnd, WM_CANCELMODE, 0, 0);
        if (!Find(hwnd)) return false;
        w->style |= WS_DISABLED;
        if (w->thread->focus == hwnd) SetFocus(nullptr);  // a disabled window has no focus
        if (headless::InTree(hwnd, w->thread->capture)) ReleaseCapture();
        headless::Deliver(hwnd, WM_ENABLE, 0, 0);
    }
    return wasDisabled;
}

bool IsWindowEnabled(HWND hwnd) {
    auto w = Find(hwnd);
    return w && !(w->style & WS_DISABLED);
}

bool SetWindowText(HWND hwnd, const wchar_t* text) {
    if (!Find(hwnd)) return false;
    return headless::Deliver(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L"")) != 0;
}

std::wstring GetWindowText(HWND hwnd) {
    if (!Find(hwnd)) return {};
    const LRESULT length = headless::Deliver(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        headless::Deliver(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, length)));
    return text;
}

int GetWindowTextLength(HWND hwnd) {
    return Find(hwnd) ? static_cast<int>(headless::Deliver(hwnd, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

bool GetWindowRect(HWND hwnd, RECT* rect) {
    auto w = Find(hwnd);
    if (!w || !rect) return false;
    const POINT o = headless::WindowOrigin(*w);
    *rect = RECT{o.x, o.y, o.x + w->rect.right - w->rect.left, o.y + w->rect.bottom - w->rect.top};
    return true;
}

bool GetClientRect(HWND hwnd, RECT* rect) {
    auto w = Find(hwnd);
    if (!w || !rect) return false;
    *rect = headless::ClientRectOf(*w);
    return true;
}

bool ClientToScreen(HWND hwnd, POINT* point) {
    auto w = Find(hwnd);
    if (!w || !point) return false;
    const POINT o = headless::ClientOrigin(*w);
    point->x += o.x;
    point->y += o.y;
    return true;
}

bool ScreenToClient(HWND hwnd, POINT* point) {
    auto w = Find(hwnd);
    if (!w || !point) return false;
    const POINT o = headless::ClientOrigin(*w);
    point->x -= o.x;
    point->y -= o.y;
    return true;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    POINT a{}, b{};
    if (from && !ClientToScreen(from, &a)) return 0;
    if (to && !ClientToScreen(to, &b)) return 0;
    const int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    auto w = Find(hwnd);
    if (!w) return false;
    if (!(flags & SWP_NOZORDER) && insertAfter != hwnd) {
        if (auto p = Find(w->parent)) {
            auto& list = p->children;
            const bool toTop = insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST ||
                               insertAfter == HWND_NOTOPMOST;
            const bool toBottom = insertAfter == HWND_BOTTOM;
            const bool sibling = !toTop && !toBottom &&
                                 std::find(list.begin(), list.end(), insertAfter) != list.end();
            if (toTop || toBottom || sibling) {
                list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
                if (toTop)
                    list.insert(list.begin(), hwnd);
                else if (toBottom)
                    list.push_back(hwnd);
                else
                    list.insert(std::find(list.begin(), list.end(), insertAfter) + 1, hwnd);
            }
        }
    }
    const RECT old = w->rect;
    RECT r = old;
    if (!(flags & SWP_NOMOVE)) {
        r.right = x + (r.right - r.left);
        r.bottom = y + (r.bottom - r.top);
        r.left = x;
        r.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        r.right = r.left + std::max(cx, 0);
        r.bottom = r.top + std::max(cy, 0);
    }
    w->rect = r;
    if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    if (r.left != old.left || r.top != old.top)
        headless::Deliver(hwnd, WM_MOVE, 0,
                          MAKELPARAM(static_cast<WORD>(r.left), static_cast<WORD>(r.top)));
    if (r.right - r.left != old.right - old.left || r.bottom - r.top != old.bottom - old.top) {
        const RECT client = headless::ClientRectOf(*w);
        headless::Deliver(hwnd, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    }
    return true;
}

bool MoveWindow(HWND hwnd, int x, int y, int cx, int cy, bool) {
    return SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return headless::Deliver(hwnd, message, wParam, lParam);
}

LRESULT CallDefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto w = Find(hwnd);
    return w ? headless::DefaultProc(*w, message, wParam, lParam) : 0;
}

HWND SetFocus(HWND hwnd) {
    auto ts = headless::CurrentThread();
    const HWND previous = ts->focus;
    if (hwnd) {
        auto w = Find(hwnd);
        if (!w) return nullptr;
        for (auto a = w; a; a = Find(a->parent))
            if (a->style & WS_DISABLED) return nullptr;
    }
    if (hwnd == previous) return previous;
    ts->focus = hwnd;
    if (previous && Find(previous)) {
        headless::Deliver(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
        if (ts->focus != hwnd) return previous;  // moved again meanwhile
    }
    if (hwnd && Find(hwnd))
        headless::Deliver(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetFocus() {
    auto ts = headless::CurrentThread();
    return Find(ts->focus) ? ts->focus : nullptr;
}

HWND SetCapture(HWND hwnd) {
    auto ts = headless::CurrentThread();
    const HWND previous = ts->capture;
    if (!Find(hwnd)) return previous;
    ts->capture = hwnd;
    if (previous && previous != hwnd && Find(previous))
        headless::Deliver(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

bool ReleaseCapture() {
    auto ts = headless::CurrentThread();
    const HWND previous = ts->capture;
    ts->capture = nullptr;
    if (previous && Find(previous)) headless::Deliver(previous, WM_CAPTURECHANGED, 0, 0);
    return true;
}

HWND GetCapture() {
    auto ts = headless::CurrentThread();
    return Find(ts->capture) ? ts->capture : nullptr;
}

short GetKeyState(int virtualKey) {
    auto ts = headless::CurrentThread();
    if (virtualKey == static_cast<int>(VK_SHIFT) && ts->shiftDown)
        return static_cast<short>(0x8000);
    return 0;
}

void SetClipboardText(const std::wstring& text) {
    std::lock_guard lock(headless::g_clipboardMutex);
    headless::g_clipboard = text;
}

std::wstring GetClipboardText() {
    std::lock_guard lock(headless::g_clipboardMutex);
    return headless::g_clipboard;
}

}  // namespace ui
