// Docking modules' dialogs into the host's main window.
#include "DialogHost.h"

#include <cstdint>

#include "CDockedDlg.h"
#include "HostPlatform.h"
#include "Pages.h"
#include "Trace.h"
#include "ui/Snapshot.h"
#include "ui/Window.h"
#include "ui/Wnd.h"

namespace host {

namespace {
constexpr const wchar_t* kMainWindowClass = L"AmbrelHostMainWindow";
constexpr const wchar_t* kMainWindowTitle = L"Ambrel Host";
constexpr int kMainWidth = 800;
constexpr int kMainHeight = 600;
// WS_OVERLAPPEDWINDOW: a top-level window's minimize and maximize boxes have the bits that
// WS_GROUP and WS_TABSTOP have on a child.
constexpr ui::DWORD kMinimizeBox = ui::WS_GROUP;
constexpr ui::DWORD kMaximizeBox = ui::WS_TABSTOP;
constexpr ui::DWORD kMainStyle = ui::WS_OVERLAPPED | ui::WS_CAPTION | ui::WS_SYSMENU |
                                 ui::WS_THICKFRAME | kMinimizeBox | kMaximizeBox |
                                 ui::WS_CLIPCHILDREN | ui::WS_VISIBLE;
// What a capture shows where nothing is drawn: white.
constexpr std::uint8_t kBlankLevel = 0xFF;
}  // namespace

class DialogHost::MainFrame : public ui::CWnd {
protected:
    ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override {
        if (message == ui::WM_CLOSE) return 0;
        return ui::CWnd::WindowProc(message, wParam, lParam);
    }
};

DialogHost::DialogHost(Trace& trace) : m_trace(trace), m_mainObject(new MainFrame) {
    m_mainWindow =
        ui::CreateWindowEx(ui::WS_EX_CONTROLPARENT, kMainWindowClass, kMainWindowTitle, kMainStyle,
                           0, 0, kMainWidth, kMainHeight, nullptr, 0, m_mainObject.get());
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
        FitMainWindowTo(hwnd);
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

void DialogHost::FitMainWindowTo(ui::HWND dialog) {
    ui::RECT docked{};
    ui::RECT frame{};
    ui::RECT client{};
    if (!ui::GetWindowRect(dialog, &docked) || !ui::GetWindowRect(m_mainWindow, &frame) ||
        !ui::GetClientRect(m_mainWindow, &client))
        return;
    ui::SetWindowPos(m_mainWindow, nullptr, 0, 0, docked.Width() + frame.Width() - client.Width(),
                     docked.Height() + frame.Height() - client.Height(),
                     ui::SWP_NOMOVE | ui::SWP_NOZORDER | ui::SWP_NOACTIVATE);
}

Picture DialogHost::Capture() const {
    Picture picture;
    if (CaptureOwnWindow(kMainWindowTitle, &picture)) return picture;
    ui::RECT client{};
    ui::GetClientRect(m_mainWindow, &client);
    return Picture::Blank(client.Width(), client.Height(), kBlankLevel);
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
