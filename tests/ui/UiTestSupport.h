// Shared pieces of the dialog framework tests: a dialog that writes down, in readable form,
// every notification, scroll, timer and private message it receives, and templates in code.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Controls.h"
#include "ui/Input.h"

namespace uitest {

using namespace ui;
using Log = std::vector<std::string>;

std::string Narrow(const std::wstring& text);

// One line for a message as its receiver sees it: "EN_CHANGE 10", "UDN_DELTAPOS 7 pos=3
// delta=1", "WM_VSCROLL SB_THUMBPOSITION 4 7" (code, position, control id; TB_ codes for
// sliders), "WM_TIMER 1", "WM_COMMAND 1", "WM_USER+1 5"; empty for messages the tests do
// not follow.
std::string Describe(UINT message, WPARAM wParam, LPARAM lParam);

// A modeless dialog that logs what it receives and lets a test answer notifications.
class LoggingDialog : public CDialog {
public:
    Log log;
    // The notifications that got through to OnCommand and OnNotify (after reflection).
    Log handled;
    // The answer to a WM_NOTIFY (0 when unset); it may also change the notification.
    std::function<LRESULT(NMHDR&)> answerNotify;
    // Called for every message after it is logged, before the default handling.
    std::function<void(UINT, WPARAM, LPARAM)> onMessage;
    bool endOnOkCancel = false;

    Log Take() {
        Log taken;
        taken.swap(log);
        return taken;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnOK() override;
    void OnCancel() override;
};

DialogItemTemplate Item(const wchar_t* className, int id, int x, int y, int cx, int cy, DWORD style,
                        const wchar_t* text = L"");
DialogTemplate Template(UINT id, int cx, int cy, DWORD style,
                        std::vector<DialogItemTemplate> items);

constexpr DWORD kVisibleChild = WS_CHILD | WS_VISIBLE;

// Whether the backend under test is the platform's own windows and controls; where their
// metrics or a detail of their behaviour is theirs to decide, tests say so with this.
#ifdef _WIN32
constexpr bool kRealControls = true;
#else
constexpr bool kRealControls = false;
#endif
constexpr DWORD kTopDialog = WS_POPUP | WS_VISIBLE | DS_SETFONT;

class UiTest : public ::testing::Test {
protected:
    void TearDown() override { PumpMessages(); }

    // Registers the template and opens a logging dialog from it, with no parent.
    std::unique_ptr<LoggingDialog> Open(DialogTemplate dialogTemplate) {
        const UINT id = dialogTemplate.id;
        RegisterDialogTemplate(std::move(dialogTemplate));
        auto dialog = std::make_unique<LoggingDialog>();
        EXPECT_TRUE(dialog->Create(id, nullptr));
        dialog->Take();
        return dialog;
    }
};

}  // namespace uitest
