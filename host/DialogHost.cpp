// Docking modules' dialogs into the host's main window.
#include "DialogHost.h"

#include "CDockedDlg.h"
#include "Pages.h"
#include "Trace.h"
#include "ui/Inspect.h"
#include "ui/Window.h"
#include "ui/Wnd.h"

namespace host {

namespace {
constexpr const wchar_t* kMainWindowClass = L"AmbrelHostMainWindow";
constexpr const wchar_t* kMainWindowTitle = L"Ambrel Host";
constexpr int kMainWidth = 800;
constexpr int kMainHeight = 600;
}  // namespace

DialogHost::DialogHost(Trace& trace) : m_trace(trace) {
    m_mainWindow = ui::CreateWindowEx(
        ui::WS_EX_CONTROLPARENT, kMainWindowClass, kMainWindowTitle,
        ui::WS_OVERLAPPED | ui::WS_CAPTION | ui::WS_SYSMENU | ui::WS_THICKFRAME | ui::WS_VISIBLE, 0,
        0, kMainWidth, kMainHeight, nullptr, 0);
}

DialogHost::~DialogHost() {
    if (m_mainWindow) ui::DestroyWindow(m_mainWindow);
}

void DialogHost::AddDialog(CDockedDlg* dialog) {
    if (!dialog) return;
    m_dialog = dialog;
    const ui::HWND hwnd = dialog->GetSafeHwnd();
    if (hwnd) {
        ui::SetParent(hwnd, m_mainWindow);
        ui::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         ui::SWP_NOSIZE | ui::SWP_NOZORDER | ui::SWP_NOACTIVATE);
        ui::ShowWindow(hwnd, ui::SW_SHOW);
    }
    m_trace.Dialog(true);
}

void DialogHost::RemoveDialog(CDockedDlg* dialog) {
    if (!dialog) return;
    const ui::HWND hwnd = dialog->GetSafeHwnd();
    if (hwnd) {
        ui::ShowWindow(hwnd, ui::SW_HIDE);
        ui::SetParent(hwnd, nullptr);
    }
    if (m_dialog == dialog) m_dialog = nullptr;
    m_trace.Dialog(false);
}

ui::HWND DialogHost::Dialog() const {
    return m_dialog ? m_dialog->GetSafeHwnd() : nullptr;
}

ui::HWND DialogHost::FindPage(ui::UINT templateId) const {
    const ui::HWND dialog = Dialog();
    if (!dialog) return nullptr;
    for (const ui::HWND child : ui::GetChildWindows(dialog)) {
        if (ui::GetWindowKind(child) != ui::WindowKind::Dialog) continue;
        // The page objects are the plug-in's; the template they were made from names them.
        const auto* page = dynamic_cast<const ui::CDialog*>(ui::CWnd::FromHandlePermanent(child));
        if (page && page->GetTemplateId() == templateId) return child;
    }
    return nullptr;
}

ui::HWND DialogHost::PageWindow(std::string_view name) const {
    for (const PageName& page : kPages) {
        if (page.name != name) continue;
        return page.templateId == 0 ? Dialog() : FindPage(page.templateId);
    }
    return nullptr;
}

}  // namespace host
