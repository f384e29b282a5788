// The win32 window manager: real windows of the predefined and common control classes (plain
// windows of a class registered on first use), binding window objects by subclassing, the
// tree, state, geometry, focus, capture and the clipboard.
#include <algorithm>
#include <cstddef>
#include <mutex>
#include <set>
#include <unordered_map>

#include "../common/Backend.h"
#include "Win32.h"
#include "platform/TextRules.h"

namespace ui::win32 {
namespace {

// Types.h promises the platform's layouts, so messages and notifications pass through as
// they are.
#define AMBREL_SAME_FIELD(ours, theirs, field)                        \
    static_assert(offsetof(ours, field) == offsetof(theirs, field) && \
                  sizeof(ours::field) == sizeof(theirs::field))
static_assert(sizeof(ui::POINT) == sizeof(::POINT) && sizeof(ui::SIZE) == sizeof(::SIZE));
AMBREL_SAME_FIELD(ui::RECT, ::RECT, bottom);
AMBREL_SAME_FIELD(ui::MSG, ::MSG, lParam);
AMBREL_SAME_FIELD(ui::MSG, ::MSG, time);
AMBREL_SAME_FIELD(ui::MSG, ::MSG, pt);
static_assert(sizeof(ui::MSG) == sizeof(::MSG));
AMBREL_SAME_FIELD(ui::NMHDR, ::NMHDR, idFrom);
AMBREL_SAME_FIELD(ui::NMHDR, ::NMHDR, code);
static_assert(sizeof(ui::NMHDR) == sizeof(::NMHDR));
AMBREL_SAME_FIELD(ui::NMUPDOWN, ::NMUPDOWN, iPos);
AMBREL_SAME_FIELD(ui::NMUPDOWN, ::NMUPDOWN, iDelta);
static_assert(sizeof(ui::NMUPDOWN) == sizeof(::NMUPDOWN));
AMBREL_SAME_FIELD(ui::NMCUSTOMDRAW, ::NMCUSTOMDRAW, dwDrawStage);
AMBREL_SAME_FIELD(ui::NMCUSTOMDRAW, ::NMCUSTOMDRAW, hdc);
AMBREL_SAME_FIELD(ui::NMCUSTOMDRAW, ::NMCUSTOMDRAW, rc);
AMBREL_SAME_FIELD(ui::NMCUSTOMDRAW, ::NMCUSTOMDRAW, dwItemSpec);
AMBREL_SAME_FIELD(ui::NMCUSTOMDRAW, ::NMCUSTOMDRAW, uItemState);
AMBREL_SAME_FIELD(ui::NMCUSTOMDRAW, ::NMCUSTOMDRAW, lItemlParam);
static_assert(sizeof(ui::NMCUSTOMDRAW) == sizeof(::NMCUSTOMDRAW));
AMBREL_SAME_FIELD(ui::NMTCKEYDOWN, ::NMTCKEYDOWN, wVKey);
AMBREL_SAME_FIELD(ui::NMTCKEYDOWN, ::NMTCKEYDOWN, flags);
static_assert(sizeof(ui::NMTCKEYDOWN) == sizeof(::NMTCKEYDOWN));
AMBREL_SAME_FIELD(ui::TCITEM, ::TCITEMW, dwState);
AMBREL_SAME_FIELD(ui::TCITEM, ::TCITEMW, dwStateMask);
AMBREL_SAME_FIELD(ui::TCITEM, ::TCITEMW, pszText);
AMBREL_SAME_FIELD(ui::TCITEM, ::TCITEMW, cchTextMax);
AMBREL_SAME_FIELD(ui::TCITEM, ::TCITEMW, iImage);
AMBREL_SAME_FIELD(ui::TCITEM, ::TCITEMW, lParam);
static_assert(sizeof(ui::TCITEM) == sizeof(::TCITEMW));
AMBREL_SAME_FIELD(ui::TCHITTESTINFO, ::TCHITTESTINFO, flags);
static_assert(sizeof(ui::TCHITTESTINFO) == sizeof(::TCHITTESTINFO));
AMBREL_SAME_FIELD(ui::UDACCEL, ::UDACCEL, nInc);
static_assert(sizeof(ui::UDACCEL) == sizeof(::UDACCEL));
AMBREL_SAME_FIELD(ui::CREATESTRUCT, ::CREATESTRUCTW, hwndParent);
AMBREL_SAME_FIELD(ui::CREATESTRUCT, ::CREATESTRUCTW, x);
AMBREL_SAME_FIELD(ui::CREATESTRUCT, ::CREATESTRUCTW, style);
AMBREL_SAME_FIELD(ui::CREATESTRUCT, ::CREATESTRUCTW, lpszClass);
AMBREL_SAME_FIELD(ui::CREATESTRUCT, ::CREATESTRUCTW, dwExStyle);
static_assert(sizeof(ui::CREATESTRUCT) == sizeof(::CREATESTRUCTW));
#undef AMBREL_SAME_FIELD

// A window the backend took in: the procedure it had, the object bound to it, and for a
// modeless dialog whether it was ended.
struct Record {
    WNDPROC original = nullptr;
    CWnd* object = nullptr;
    bool trackbar = false;
    bool ended = false;
    int result = 0;
};

struct Records {
    std::mutex mutex;
    std::unordered_map<::HWND, Record> windows;
};

Records& TheRecords() {
    static Records* records = new Records;  // outlives every static destructor that may use it
    return *records;
}

bool Lookup(::HWND hwnd, Record* out) {
    Records& r = TheRecords();
    std::lock_guard lock(r.mutex);
    auto it = r.windows.find(hwnd);
    if (it == r.windows.end()) return false;
    *out = it->second;
    return true;
}

template <class F>
bool Update(::HWND hwnd, F&& change) {
    Records& r = TheRecords();
    std::lock_guard lock(r.mutex);
    auto it = r.windows.find(hwnd);
    if (it == r.windows.end()) return false;
    change(it->second);
    return true;
}

// The trackbar letting the mouse go as its button comes up.
thread_local ::HWND t_trackbarRelease = nullptr;

LRESULT CALLBACK FrameworkProc(::HWND hwnd, ::UINT message, ::WPARAM wParam, ::LPARAM lParam) {
    Record record;
    if (!Lookup(hwnd, &record)) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    // Wine's trackbar reports TB_ENDTRACK once more when it releases the mouse after the
    // button came up (the platform's reports the end of a drag once); that second report is
    // kept from it.
    if (record.trackbar && message == WM_CAPTURECHANGED && hwnd == t_trackbarRelease) return 0;
    if (record.trackbar && message == WM_LBUTTONUP) {
        const ::HWND outer = t_trackbarRelease;
        t_trackbarRelease = hwnd;
        const LRESULT result =
            record.object ? detail::DeliverToObject(record.object, U(hwnd), message, wParam, lParam)
                          : ::CallWindowProcW(record.original, hwnd, message, wParam, lParam);
        t_trackbarRelease = outer;
        return result;
    }
    const LRESULT result =
        record.object ? detail::DeliverToObject(record.object, U(hwnd), message, wParam, lParam)
                      : ::CallWindowProcW(record.original, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ForgetTimers(U(hwnd));
        Records& r = TheRecords();
        std::lock_guard lock(r.mutex);
        r.windows.erase(hwnd);
    }
    return result;
}

void TakeIn(::HWND hwnd, CWnd* object) {
    Record record;
    record.original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    record.object = object;
    if (record.original == &FrameworkProc) return;
    wchar_t name[32] = {};
    ::GetClassNameW(hwnd, name, 32);
    record.trackbar = ::lstrcmpiW(name, TRACKBAR_CLASS) == 0;
    {
        Records& r = TheRecords();
        std::lock_guard lock(r.mutex);
        r.windows[hwnd] = record;
    }
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameworkProc));
    if (object) object->m_hWnd = U(hwnd);
}

// The windows being created through the framework on this thread.
struct Creation {
    HHOOK hook = nullptr;
    int depth = 0;
    CWnd* object = nullptr;
    ::HWND parent = nullptr;
};
thread_local Creation t_creation;

bool IsImeWindow(const CREATESTRUCTW& cs) {
    // The platform gives each thread's first windows input-method windows of their own.
    if (IS_INTRESOURCE(cs.lpszClass)) return false;
    return ::lstrcmpiW(cs.lpszClass, L"IME") == 0 || ::lstrcmpiW(cs.lpszClass, L"MSCTFIME UI") == 0;
}

LRESULT CALLBACK CreationHook(int code, ::WPARAM wParam, ::LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* cbt = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        if (!IsImeWindow(*cbt->lpcs)) {
            CWnd* object = nullptr;
            if (t_creation.object && cbt->lpcs->hwndParent == t_creation.parent) {
                object = t_creation.object;
                t_creation.object = nullptr;
            }
            TakeIn(reinterpret_cast<::HWND>(wParam), object);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void InitCommonControlsOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        INITCOMMONCONTROLSEX init{};
        init.dwSize = sizeof(init);
        init.dwICC = ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES;
        ::InitCommonControlsEx(&init);
    });
}

LRESULT CALLBACK ParkingProc(::HWND hwnd, ::UINT message, ::WPARAM wParam, ::LPARAM lParam) {
    // Parked windows are no one's children: their notifications go nowhere.
    if (message == WM_COMMAND || message == WM_NOTIFY || message == WM_HSCROLL ||
        message == WM_VSCROLL)
        return 0;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool IsPredefined(const wchar_t* name) {
    for (const wchar_t* known : {WC_BUTTON, WC_EDIT, WC_STATIC, WC_LISTBOX, WC_COMBOBOX,
                                 TRACKBAR_CLASS, UPDOWN_CLASS, WC_TABCONTROL, WC_DIALOG})
        if (plat::EqualsAsciiNoCase(name, known)) return true;
    return false;
}

void EnsurePlainClass(const wchar_t* name) {
    if (IsPredefined(name)) return;
    static std::mutex mutex;
    static std::set<std::wstring>* registered = new std::set<std::wstring>;
    std::lock_guard lock(mutex);
    if (!registered->insert(plat::AsciiUpper(name)).second) return;
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = ::DefWindowProcW;
    cls.hInstance = Instance();
    cls.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = name;
    ::RegisterClassExW(&cls);
}

HINSTANCE Instance() {
    static HINSTANCE instance = [] {
        HMODULE module = nullptr;
        ::GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&Instance), &module);
        return static_cast<HINSTANCE>(module);
    }();
    return instance;
}

HWND ParkingWindow() {
    thread_local ::HWND parking = nullptr;
    if (parking && ::IsWindow(parking)) return U(parking);
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof(cls);
        cls.lpfnWndProc = ParkingProc;
        cls.hInstance = Instance();
        cls.lpszClassName = L"AmbrelParking";
        ::RegisterClassExW(&cls);
    });
    parking = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"AmbrelParking", L"", WS_POPUP | WS_CLIPCHILDREN,
                                0, 0, 0, 0, nullptr, nullptr, Instance(), nullptr);
    return U(parking);
}

HWND FrameworkParent(HWND hwnd) {
    const ::HWND parent = ::GetParent(W(hwnd));
    if (!parent || parent == ::GetDesktopWindow()) return nullptr;
    if (U(parent) == ParkingWindow()) return nullptr;
    return U(parent);
}

CreationScope::CreationScope(CWnd* object, HWND parent) {
    InitCommonControlsOnce();
    if (t_creation.depth++ == 0)
        t_creation.hook =
            ::SetWindowsHookExW(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId());
    t_creation.object = object;
    t_creation.parent = W(parent);
}

CreationScope::~CreationScope() {
    t_creation.object = nullptr;
    if (--t_creation.depth == 0 && t_creation.hook) {
        ::UnhookWindowsHookEx(t_creation.hook);
        t_creation.hook = nullptr;
    }
}

bool Adopt(HWND hwnd) {
    ::DWORD process = 0;
    if (!::IsWindow(W(hwnd))) return false;
    ::GetWindowThreadProcessId(W(hwnd), &process);
    if (process != ::GetCurrentProcessId()) return false;
    Record record;
    if (!Lookup(W(hwnd), &record)) TakeIn(W(hwnd), nullptr);
    return true;
}

void MarkEnded(HWND dialog, int result) {
    if (!Adopt(dialog)) return;
    Update(W(dialog), [&](Record& r) {
        r.ended = true;
        r.result = result;
    });
}

bool EndedResult(HWND dialog, int* result) {
    Record record;
    if (!Lookup(W(dialog), &record)) return false;
    if (result) *result = record.result;
    return record.ended;
}

bool IsDialogWindow(HWND hwnd) {
    wchar_t name[16] = {};
    return ::GetClassNameW(W(hwnd), name, 16) && ::lstrcmpW(name, WC_DIALOG) == 0;
}

HWND InnermostDialog(HWND hwnd) {
    for (HWND w = hwnd; w; w = FrameworkParent(w))
        if (IsDialogWindow(w)) return w;
    return nullptr;
}

}  // namespace ui::win32

namespace ui::detail {

using win32::W;

bool BindObject(HWND hwnd, CWnd* object) {
    if (!object || !win32::Adopt(hwnd)) return false;
    bool bound = false;
    win32::Update(W(hwnd), [&](win32::Record& r) {
        if (r.object && r.object != object) return;
        r.object = object;
        bound = true;
    });
    if (bound) object->m_hWnd = hwnd;
    return bound;
}

CWnd* BoundObject(HWND hwnd) {
    win32::Record record;
    return win32::Lookup(W(hwnd), &record) ? record.object : nullptr;
}

void UnbindObject(HWND hwnd, CWnd* object) {
    win32::Update(W(hwnd), [&](win32::Record& r) {
        if (r.object == object) r.object = nullptr;
    });
    if (object && object->m_hWnd == hwnd) object->m_hWnd = nullptr;
}

}  // namespace ui::detail

namespace ui {

using win32::U;
using win32::W;

HWND CreateWindowEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                    int x, int y, int cx, int cy, HWND parent, int id, CWnd* object,
                    void* createParams) {
    if (parent && !::IsWindow(W(parent))) return nullptr;
    const wchar_t* cls = className && *className ? className : L"AmbrelWindow";
    win32::EnsurePlainClass(cls);
    // Child windows need a parent on this platform; top-level windows have no control id.
    const HWND realParent =
        parent ? parent : ((style & WS_CHILD) ? win32::ParkingWindow() : nullptr);
    const auto menu =
        (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    win32::CreationScope scope(object, realParent);
    const ::HWND hwnd = ::CreateWindowExW(exStyle, cls, text ? text : L"", style, x, y, cx, cy,
                                          W(realParent), menu, win32::Instance(), createParams);
    return hwnd && ::IsWindow(hwnd) ? U(hwnd) : nullptr;
}

bool DestroyWindow(HWND hwnd) {
    if (!::IsWindow(W(hwnd))) return false;
    // The platform hands the focus to the parent only when it hides a visible window on its
    // way out; from a hidden one the focus would be lost.
    const ::HWND focus = ::GetFocus();
    const bool child = (::GetWindowLongW(W(hwnd), GWL_STYLE) & WS_CHILD) != 0;
    if (child && !(::GetWindowLongW(W(hwnd), GWL_STYLE) & WS_VISIBLE) && focus &&
        (focus == W(hwnd) || ::IsChild(W(hwnd), focus)))
        ::SetFocus(::GetParent(W(hwnd)));
    return ::IsWindow(W(hwnd)) && ::DestroyWindow(W(hwnd));
}

bool IsWindow(HWND hwnd) {
    return hwnd && ::IsWindow(W(hwnd));
}

std::wstring GetClassName(HWND hwnd) {
    wchar_t name[256] = {};
    const int n = ::IsWindow(W(hwnd)) ? ::GetClassNameW(W(hwnd), name, 256) : 0;
    return std::wstring(name, static_cast<std::size_t>(std::max(n, 0)));
}

HWND GetParent(HWND hwnd) {
    return ::IsWindow(W(hwnd)) ? win32::FrameworkParent(hwnd) : nullptr;
}

HWND SetParent(HWND hwnd, HWND newParent) {
    if (!::IsWindow(W(hwnd))) return nullptr;
    if (newParent && (!::IsWindow(W(newParent)) || newParent == hwnd || IsChild(hwnd, newParent)))
        return nullptr;
    const HWND old = win32::FrameworkParent(hwnd);
    const bool child = (::GetWindowLongW(W(hwnd), GWL_STYLE) & WS_CHILD) != 0;
    const HWND real = newParent ? newParent : (child ? win32::ParkingWindow() : nullptr);
    if (!::SetParent(W(hwnd), W(real))) return nullptr;
    return old;
}

bool IsChild(HWND parent, HWND hwnd) {
    return parent && hwnd && ::IsChild(W(parent), W(hwnd));
}

HWND GetWindow(HWND hwnd, UINT relation) {
    if (!::IsWindow(W(hwnd))) return nullptr;
    if (relation != GW_CHILD && !GetParent(hwnd))
        return relation == GW_HWNDFIRST || relation == GW_HWNDLAST ? hwnd : nullptr;
    return U(::GetWindow(W(hwnd), relation));
}

HWND GetDlgItem(HWND dialog, int id) {
    return ::IsWindow(W(dialog)) ? U(::GetDlgItem(W(dialog), id)) : nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    return ::IsWindow(W(hwnd)) ? ::GetDlgCtrlID(W(hwnd)) : 0;
}

LONG GetWindowLong(HWND hwnd, int index) {
    return ::IsWindow(W(hwnd)) ? static_cast<LONG>(::GetWindowLongW(W(hwnd), index)) : 0;
}

LONG SetWindowLong(HWND hwnd, int index, LONG value) {
    return ::IsWindow(W(hwnd)) ? static_cast<LONG>(::SetWindowLongW(W(hwnd), index, value)) : 0;
}

bool ShowWindow(HWND hwnd, int command) {
    return ::IsWindow(W(hwnd)) && ::ShowWindow(W(hwnd), command);
}

bool IsWindowVisible(HWND hwnd) {
    if (!::IsWindow(W(hwnd))) return false;
    for (HWND w = hwnd; w; w = win32::FrameworkParent(w))
        if (!(::GetWindowLongW(W(w), GWL_STYLE) & WS_VISIBLE)) return false;
    return true;
}

bool EnableWindow(HWND hwnd, bool enable) {
    return ::IsWindow(W(hwnd)) && ::EnableWindow(W(hwnd), enable);
}

bool IsWindowEnabled(HWND hwnd) {
    return ::IsWindow(W(hwnd)) && ::IsWindowEnabled(W(hwnd));
}

bool SetWindowText(HWND hwnd, const wchar_t* text) {
    return ::IsWindow(W(hwnd)) && ::SetWindowTextW(W(hwnd), text ? text : L"");
}

std::wstring GetWindowText(HWND hwnd) {
    if (!::IsWindow(W(hwnd))) return {};
    const int length = ::GetWindowTextLengthW(W(hwnd));
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(W(hwnd), text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::clamp(got, 0, length)));
    return text;
}

int GetWindowTextLength(HWND hwnd) {
    return ::IsWindow(W(hwnd)) ? ::GetWindowTextLengthW(W(hwnd)) : 0;
}

bool GetWindowRect(HWND hwnd, RECT* rect) {
    return rect && ::IsWindow(W(hwnd)) && ::GetWindowRect(W(hwnd), reinterpret_cast<::RECT*>(rect));
}

bool GetClientRect(HWND hwnd, RECT* rect) {
    return rect && ::IsWindow(W(hwnd)) && ::GetClientRect(W(hwnd), reinterpret_cast<::RECT*>(rect));
}

bool ClientToScreen(HWND hwnd, POINT* point) {
    return point && ::IsWindow(W(hwnd)) &&
           ::ClientToScreen(W(hwnd), reinterpret_cast<::POINT*>(point));
}

bool ScreenToClient(HWND hwnd, POINT* point) {
    return point && ::IsWindow(W(hwnd)) &&
           ::ScreenToClient(W(hwnd), reinterpret_cast<::POINT*>(point));
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    if ((from && !::IsWindow(W(from))) || (to && !::IsWindow(W(to)))) return 0;
    return ::MapWindowPoints(W(from), W(to), reinterpret_cast<::POINT*>(points), count);
}

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::IsWindow(W(hwnd)) && ::SetWindowPos(W(hwnd), W(insertAfter), x, y, cx, cy, flags);
}

bool MoveWindow(HWND hwnd, int x, int y, int cx, int cy, bool repaint) {
    return ::IsWindow(W(hwnd)) && ::MoveWindow(W(hwnd), x, y, cx, cy, repaint);
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::IsWindow(W(hwnd)) ? ::SendMessageW(W(hwnd), message, wParam, lParam) : 0;
}

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return hwnd && ::PostMessageW(W(hwnd), message, wParam, lParam);
}

LRESULT CallDefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!::IsWindow(W(hwnd))) return 0;
    win32::Record record;
    const WNDPROC proc =
        win32::Lookup(W(hwnd), &record)
            ? record.original
            : reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(W(hwnd), GWLP_WNDPROC));
    return ::CallWindowProcW(proc, W(hwnd), message, wParam, lParam);
}

HWND SetFocus(HWND hwnd) {
    if (hwnd && !::IsWindow(W(hwnd))) return nullptr;
    return U(::SetFocus(W(hwnd)));
}

HWND GetFocus() {
    return U(::GetFocus());
}

HWND SetCapture(HWND hwnd) {
    if (!::IsWindow(W(hwnd))) return GetCapture();
    return U(::SetCapture(W(hwnd)));
}

bool ReleaseCapture() {
    return ::ReleaseCapture();
}

HWND GetCapture() {
    return U(::GetCapture());
}

short GetKeyState(int virtualKey) {
    return ::GetKeyState(virtualKey);
}

void SetClipboardText(const std::wstring& text) {
    // Another program may hold the clipboard open for a moment.
    for (int attempt = 0; attempt < 50 && !::OpenClipboard(W(win32::ParkingWindow())); ++attempt)
        ::Sleep(2);
    ::EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        auto* out = static_cast<wchar_t*>(::GlobalLock(memory));
        std::copy(text.begin(), text.end(), out);
        out[text.size()] = L'\0';
        ::GlobalUnlock(memory);
        if (!::SetClipboardData(CF_UNICODETEXT, memory)) ::GlobalFree(memory);
    }
    ::CloseClipboard();
}

std::wstring GetClipboardText() {
    for (int attempt = 0; attempt < 50 && !::OpenClipboard(W(win32::ParkingWindow())); ++attempt)
        ::Sleep(2);
    std::wstring text;
    if (HANDLE memory = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* in = static_cast<const wchar_t*>(::GlobalLock(memory))) {
            text = in;
            ::GlobalUnlock(memory);
        }
    }
    ::CloseClipboard();
    return text;
}

}  // namespace ui
