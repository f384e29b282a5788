// Dialog data exchange: UpdateData, the DDX functions, holding notifications off while an
// exchange runs, and reporting a failed exchange.
#include <mutex>

#include "Backend.h"
#include "DataExchangeState.h"
#include "platform/TextRules.h"
#include "ui/Wnd.h"

namespace ui {
namespace {

// The window whose control notifications are being dropped while it exchanges data.
thread_local HWND t_heldOff = nullptr;
thread_local std::wstring t_lastError;

std::mutex g_handlerMutex;
std::function<void(const DataExchangeFailure&)> g_handler;

constexpr const wchar_t* kParseInt = L"Please enter an integer.";

void ShowText(HWND control, const std::wstring& text) {
    // Only a changed text is written, so an unchanged edit keeps its caret.
    if (GetWindowText(control) != text) SetWindowText(control, text.c_str());
}

}  // namespace

namespace detail {

bool NotificationsHeldOff(HWND hwnd) {
    return hwnd && hwnd == t_heldOff;
}

}  // namespace detail

CDataExchange::CDataExchange(CWnd* dialog, bool saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int id) {
    if (m_failed || !m_pDlgWnd) return nullptr;
    m_lastControl = id;
    m_lastIsEdit = false;
    return GetDlgItem(m_pDlgWnd->m_hWnd, id);
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    if (m_failed) return nullptr;
    const HWND control = PrepareCtrl(id);
    m_lastIsEdit = control != nullptr;
    return control;
}

void CDataExchange::Fail(const std::wstring& message) {
    if (m_failed) return;
    m_failed = true;
    m_message = message;
}

void CDataExchange::Defer(std::function<void()> assignment) {
    if (!m_failed) m_assignments.push_back(std::move(assignment));
}

bool CWnd::UpdateData(bool saveAndValidate) {
    if (!m_hWnd) return false;
    CDataExchange dx(this, saveAndValidate);
    const HWND previous = t_heldOff;
    t_heldOff = m_hWnd;
    t_lastError.clear();
    DoDataExchange(&dx);
    if (dx.m_failed) {
        // The offending control gets the focus with its text selected, still held off.
        if (const HWND control = ui::GetDlgItem(m_hWnd, dx.m_lastControl)) {
            ui::SetFocus(control);
            if (dx.m_lastIsEdit) ui::SendMessage(control, EM_SETSEL, 0, -1);
        }
    }
    t_heldOff = previous;
    if (dx.m_failed) {
        t_lastError = dx.m_message;
        std::function<void(const DataExchangeFailure&)> handler;
        {
            std::lock_guard lock(g_handlerMutex);
            handler = g_handler;
        }
        if (handler) handler(DataExchangeFailure{m_hWnd, dx.m_lastControl, dx.m_message});
        return false;
    }
    for (auto& assign : dx.m_assignments) assign();
    return true;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd) return;
    if (const HWND hwnd = pDX->PrepareCtrl(id)) control.SubclassWindow(hwnd);
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    const HWND control = pDX->PrepareEditCtrl(id);
    if (!control) return;
    if (!pDX->m_bSaveAndValidate) {
        ShowText(control, std::to_wstring(value));
        return;
    }
    const std::optional<int32_t> parsed = plat::ParseWholeInt32(GetWindowText(control));
    if (!parsed) {
        pDX->Fail(kParseInt);
        return;
    }
    pDX->Defer([&value, parsed = *parsed] { value = parsed; });
}

void DDX_Text(CDataExchange* pDX, int id, std::wstring& value) {
    const HWND control = pDX->PrepareEditCtrl(id);
    if (!control) return;
    if (!pDX->m_bSaveAndValidate) {
        ShowText(control, value);
        return;
    }
    pDX->Defer([&value, text = GetWindowText(control)] { value = text; });
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    const HWND control = pDX->PrepareCtrl(id);
    if (!control) return;
    if (!pDX->m_bSaveAndValidate) {
        SendMessage(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
        return;
    }
    const int state = static_cast<int>(SendMessage(control, BM_GETCHECK));
    pDX->Defer([&value, state] { value = state; });
}

void SetDataExchangeFailureHandler(std::function<void(const DataExchangeFailure&)> handler) {
    std::lock_guard lock(g_handlerMutex);
    g_handler = std::move(handler);
}

std::wstring GetLastDataExchangeError() {
    return t_lastError;
}

}  // namespace ui
