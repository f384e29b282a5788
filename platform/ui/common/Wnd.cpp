// CWnd and CDialog: window objects, message routing to their handlers, reflection of control
// notifications, temporary window objects, and modeless dialogs.
#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <unordered_map>
#include <vector>

#include "Backend.h"
#include "DataExchangeState.h"
#include "platform/TextRules.h"
#include "ui/Wnd.h"

namespace ui {

// Reaches the protected parts of CWnd the message delivery needs.
struct WndAccess {
    static void PostNcDestroy(CWnd* wnd) { wnd->PostNcDestroy(); }
};

namespace {

// The messages being delivered to window objects on this thread, innermost last.
thread_local std::vector<MSG> t_current;
thread_local std::unordered_map<HWND, std::unique_ptr<CWnd>> t_temporaries;

}  // namespace

namespace detail {

LRESULT DeliverToObject(CWnd* object, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // A control's notification to a window exchanging data never reaches its object.
    if (((message == WM_COMMAND && lParam) || message == WM_NOTIFY) && NotificationsHeldOff(hwnd))
        return 0;
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    t_current.push_back(msg);
    const LRESULT result = object->WindowProc(message, wParam, lParam);
    t_current.pop_back();
    // After the window's last message the object lets go of it (unless the handler already
    // did so, or deleted the object).
    if (message == WM_NCDESTROY && BoundObject(hwnd) == object) {
        UnbindObject(hwnd, object);
        WndAccess::PostNcDestroy(object);
    }
    return result;
}

}  // namespace detail

const wchar_t* WindowKindName(WindowKind kind) {
    switch (kind) {
        case WindowKind::Window:
            return L"window";
        case WindowKind::Dialog:
            return L"dialog";
        case WindowKind::PushButton:
            return L"button";
        case WindowKind::CheckBox:
            return L"check box";
        case WindowKind::RadioButton:
            return L"radio button";
        case WindowKind::GroupBox:
            return L"group box";
        case WindowKind::Static:
            return L"static";
        case WindowKind::Edit:
            return L"edit";
        case WindowKind::ListBox:
            return L"list box";
        case WindowKind::ComboBox:
            return L"combo box";
        case WindowKind::Slider:
            return L"slider";
        case WindowKind::Spin:
            return L"spin";
        case WindowKind::Tab:
            return L"tab control";
    }
    return L"window";
}

WindowKind GetWindowKind(HWND hwnd) {
    const std::wstring cls = GetClassName(hwnd);
    if (plat::EqualsAsciiNoCase(cls, WC_BUTTON)) {
        switch (static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)) & BS_TYPEMASK) {
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE:
                return WindowKind::CheckBox;
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
                return WindowKind::RadioButton;
            case BS_GROUPBOX:
                return WindowKind::GroupBox;
            default:
                return WindowKind::PushButton;
        }
    }
    if (plat::EqualsAsciiNoCase(cls, WC_DIALOG)) return WindowKind::Dialog;
    if (plat::EqualsAsciiNoCase(cls, WC_STATIC)) return WindowKind::Static;
    if (plat::EqualsAsciiNoCase(cls, WC_EDIT)) return WindowKind::Edit;
    if (plat::EqualsAsciiNoCase(cls, WC_LISTBOX)) return WindowKind::ListBox;
    if (plat::EqualsAsciiNoCase(cls, WC_COMBOBOX)) return WindowKind::ComboBox;
    if (plat::EqualsAsciiNoCase(cls, TRACKBAR_CLASS)) return WindowKind::Slider;
    if (plat::EqualsAsciiNoCase(cls, UPDOWN_CLASS)) return WindowKind::Spin;
    if (plat::EqualsAsciiNoCase(cls, WC_TABCONTROL)) return WindowKind::Tab;
    return WindowKind::Window;
}

// --- CWnd -------------------------------------------------------------------------------

const CWnd CWnd::wndTop(nullptr);
const CWnd CWnd::wndBottom(reinterpret_cast<HWND>(1));  // HWND_BOTTOM

CWnd::~CWnd() {
    if (!m_hWnd) return;
    const HWND hwnd = m_hWnd;
    if (detail::BoundObject(hwnd) == this) {
        ui::DestroyWindow(hwnd);
        detail::UnbindObject(hwnd, this);
    }
    m_hWnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    return detail::BoundObject(hwnd);
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!ui::IsWindow(hwnd)) return nullptr;
    if (CWnd* bound = detail::BoundObject(hwnd)) return bound;
    std::unique_ptr<CWnd>& slot = t_temporaries[hwnd];
    if (!slot) slot = std::make_unique<CWnd>();
    slot->m_hWnd = hwnd;
    return slot.get();
}

void CWnd::FreeTemporaryWindows() {
    t_temporaries.clear();
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                    const RECT& rect, CWnd* parent, int id) {
    if (m_hWnd) return false;
    return ui::CreateWindowEx(exStyle, className, text, style, rect.left, rect.top, rect.Width(),
                              rect.Height(), parent ? parent->m_hWnd : nullptr, id,
                              this) != nullptr;
}

bool CWnd::Create(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                  CWnd* parent, int id) {
    return CreateEx(0, className, text, style, rect, parent, id);
}

bool CWnd::DestroyWindow() {
    return m_hWnd && ui::DestroyWindow(m_hWnd);
}

bool CWnd::SubclassWindow(HWND hwnd) {
    if (m_hWnd || !ui::IsWindow(hwnd)) return false;
    return detail::BindObject(hwnd, this);
}

bool CWnd::SubclassDlgItem(int id, CWnd* parent) {
    return parent && SubclassWindow(ui::GetDlgItem(parent->m_hWnd, id));
}

HWND CWnd::UnsubclassWindow() {
    const HWND hwnd = m_hWnd;
    if (hwnd) detail::UnbindObject(hwnd, this);
    m_hWnd = nullptr;
    return hwnd;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ui::SendMessage(m_hWnd, message, wParam, lParam);
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ui::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    return ui::SendMessage(ui::GetDlgItem(m_hWnd, id), message, wParam, lParam);
}

CWnd* CWnd::GetParent() const {
    return FromHandle(ui::GetParent(m_hWnd));
}

CWnd* CWnd::SetParent(CWnd* newParent) {
    return FromHandle(ui::SetParent(m_hWnd, newParent ? newParent->m_hWnd : nullptr));
}

CWnd* CWnd::GetDlgItem(int id) const {
    return FromHandle(ui::GetDlgItem(m_hWnd, id));
}

int CWnd::GetDlgCtrlID() const {
    return ui::GetDlgCtrlID(m_hWnd);
}

bool CWnd::IsChild(const CWnd* window) const {
    return window && ui::IsChild(m_hWnd, window->m_hWnd);
}

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(ui::GetWindowLong(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(ui::GetWindowLong(m_hWnd, GWL_EXSTYLE));
}

bool CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    const DWORD style = GetStyle();
    const DWORD changed = (style & ~remove) | add;
    if (!m_hWnd || changed == style) return false;
    ui::SetWindowLong(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
    if (swpFlags)
        ui::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return true;
}

bool CWnd::ShowWindow(int command) {
    return ui::ShowWindow(m_hWnd, command);
}
bool CWnd::IsWindowVisible() const {
    return ui::IsWindowVisible(m_hWnd);
}
bool CWnd::EnableWindow(bool enable) {
    return ui::EnableWindow(m_hWnd, enable);
}
bool CWnd::IsWindowEnabled() const {
    return ui::IsWindowEnabled(m_hWnd);
}
void CWnd::SetWindowText(const wchar_t* text) {
    ui::SetWindowText(m_hWnd, text);
}

int CWnd::GetWindowText(wchar_t* buffer, int maxCount) const {
    if (!buffer || maxCount <= 0) return 0;
    const std::wstring text = ui::GetWindowText(m_hWnd);
    const auto n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(maxCount - 1));
    std::copy_n(text.begin(), n, buffer);
    buffer[n] = L'\0';
    return static_cast<int>(n);
}

void CWnd::GetWindowText(std::wstring& text) const {
    text = ui::GetWindowText(m_hWnd);
}
std::wstring CWnd::GetWindowText() const {
    return ui::GetWindowText(m_hWnd);
}
int CWnd::GetWindowTextLength() const {
    return ui::GetWindowTextLength(m_hWnd);
}

void CWnd::GetWindowRect(RECT* rect) const {
    ui::GetWindowRect(m_hWnd, rect);
}
void CWnd::GetClientRect(RECT* rect) const {
    ui::GetClientRect(m_hWnd, rect);
}
void CWnd::ClientToScreen(POINT* point) const {
    ui::ClientToScreen(m_hWnd, point);
}
void CWnd::ScreenToClient(POINT* point) const {
    ui::ScreenToClient(m_hWnd, point);
}

void CWnd::ClientToScreen(RECT* rect) const {
    ui::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::ScreenToClient(RECT* rect) const {
    ui::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

bool CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ui::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : HWND_TOP, x, y, cx, cy,
                            flags);
}

void CWnd::MoveWindow(int x, int y, int cx, int cy, bool repaint) {
    ui::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
}

void CWnd::MoveWindow(const RECT& rect, bool repaint) {
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), repaint);
}

CWnd* CWnd::SetFocus() {
    return FromHandle(ui::SetFocus(m_hWnd));
}
CWnd* CWnd::GetFocus() {
    return FromHandle(ui::GetFocus());
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void*) {
    return ui::SetTimer(m_hWnd, id, elapse);
}
bool CWnd::KillTimer(UINT_PTR id) {
    return ui::KillTimer(m_hWnd, id);
}

void CWnd::SetDlgItemText(int id, const wchar_t* text) {
    ui::SetWindowText(ui::GetDlgItem(m_hWnd, id), text);
}

int CWnd::GetDlgItemText(int id, std::wstring& text) const {
    text = ui::GetWindowText(ui::GetDlgItem(m_hWnd, id));
    return static_cast<int>(text.size());
}

void CWnd::SetDlgItemInt(int id, UINT value, bool isSigned) {
    const std::wstring text =
        isSigned ? std::to_wstring(static_cast<int>(value)) : std::to_wstring(value);
    SetDlgItemText(id, text.c_str());
}

void CWnd::CheckDlgButton(int id, UINT check) {
    SendDlgItemMessage(id, BM_SETCHECK, check);
}

UINT CWnd::IsDlgButtonChecked(int id) const {
    return static_cast<UINT>(SendDlgItemMessage(id, BM_GETCHECK));
}

void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) return result;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ui::CallDefaultProc(m_hWnd, message, wParam, lParam);
}

const MSG* CWnd::GetCurrentMessage() {
    return t_current.empty() ? nullptr : &t_current.back();
}

LRESULT CWnd::Default() {
    if (t_current.empty()) return 0;
    const MSG msg = t_current.back();
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

bool CWnd::ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    CWnd* control = detail::BoundObject(child);
    if (!control || control == this) return false;
    LRESULT r = 0;
    if (!control->OnChildNotify(message, wParam, lParam, &r)) return false;
    *result = r;
    return true;
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
        case WM_COMMAND: {
            const HWND control = reinterpret_cast<HWND>(lParam);
            if (control && ReflectToChild(control, message, wParam, lParam, result)) return true;
            *result = 0;
            return OnCommand(wParam, lParam);
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (!header) return false;
            if (ReflectToChild(header->hwndFrom, message, wParam, lParam, result)) return true;
            LRESULT r = 0;
            if (!OnNotify(wParam, lParam, &r)) return false;
            *result = r;
            return true;
        }
        case WM_HSCROLL:
        case WM_VSCROLL: {
            const HWND bar = reinterpret_cast<HWND>(lParam);
            if (bar && ReflectToChild(bar, message, wParam, lParam, result)) return true;
            if (message == WM_HSCROLL)
                OnHScroll(LOWORD(wParam), HIWORD(wParam), bar);
            else
                OnVScroll(LOWORD(wParam), HIWORD(wParam), bar);
            *result = 0;
            return true;
        }
        case WM_TIMER:
            OnTimer(wParam);
            *result = 0;
            return true;
        case WM_DESTROY:
            OnDestroy();
            *result = 0;
            return true;
        default:
            return false;
    }
}

bool CWnd::OnCommand(WPARAM, LPARAM) {
    return false;
}
bool CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) {
    return false;
}
bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return false;
}
void CWnd::OnHScroll(UINT, UINT, HWND) {
    Default();
}
void CWnd::OnVScroll(UINT, UINT, HWND) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnDestroy() {
    Default();
}

// --- CDialog ----------------------------------------------------------------------------

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

bool CDialog::Create(UINT templateId, CWnd* parent) {
    if (m_hWnd) return false;
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    return CreateDialogFromTemplate(templateId, parent ? parent->m_hWnd : nullptr, this) != nullptr;
}

bool CDialog::CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* parent) {
    if (m_hWnd) return false;
    m_nIDTemplate = dialogTemplate.id;
    m_pParentWnd = parent;
    return CreateDialogIndirect(dialogTemplate, parent ? parent->m_hWnd : nullptr, this) != nullptr;
}

bool CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_INITDIALOG) {
        *result = OnInitDialog() ? 1 : 0;
        return true;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
}

bool CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return true;
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result) {
    ui::EndDialog(m_hWnd, result);
}

void CDialog::NextDlgCtrl() const {
    SendMessage(WM_NEXTDLGCTL, 0, 0);
}
void CDialog::PrevDlgCtrl() const {
    SendMessage(WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (control) SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), 1);
}

}  // namespace ui
