// The host's dialog host: the host's top-level main window, into which modules' dialogs are docked.
#pragma once

#include <memory>
#include <string_view>

#include "CDialogHost.h"
#include "Picture.h"
#include "ui/Types.h"

namespace host {

class Trace;

class DialogHost : public CDialogHost {
public:
    // Creates the host's main window, shown. It stays until the host ends: a person closing it
    // is refused, as that would destroy the docked dialog under the module that owns it.
    explicit DialogHost(Trace& trace);
    ~DialogHost() override;

    // Docks the dialog into the main window's client area, sizes the main window to hold it,
    // and shows it.
    void AddDialog(CDockedDlg* dialog) override;
    // Hides the dialog and takes it out of the main window; it stays the module's.
    void RemoveDialog(CDockedDlg* dialog) override;

    ui::HWND MainWindow() const { return m_mainWindow; }
    // The docked dialog's window, or null when none is docked.
    ui::HWND Dialog() const;
    // The child dialog of the docked dialog that was made from this template, or null.
    ui::HWND FindPage(ui::UINT templateId) const;
    // A page by the name scripts give it (Pages.h), "dialog" for the docked dialog; null when
    // there is no such name or window.
    ui::HWND PageWindow(std::string_view name) const;

    // What the main window's client area shows; blank where nothing is drawn (the headless
    // dialog framework).
    Picture Capture() const;

private:
    class MainFrame;

    // Sizes the main window so that its client area holds the docked dialog.
    void FitMainWindowTo(ui::HWND dialog);

    Trace& m_trace;
    std::unique_ptr<MainFrame> m_mainObject;
    ui::HWND m_mainWindow = nullptr;
    CDockedDlg* m_dialog = nullptr;
};

}  // namespace host
