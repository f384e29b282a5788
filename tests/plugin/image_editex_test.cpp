// The edit that turns Enter and Tab into a move to the next control, in a dialog and outside.
#include <gtest/gtest.h>

#include <memory>

#include "EditEx.h"
#include "ui/Input.h"
#include "ui/Template.h"
#include "ui/Window.h"

namespace {

using ui::input::Key;
using ui::input::Result;

constexpr int kFirst = 100;
constexpr int kSecond = 101;
constexpr int kThird = 102;

// Counts what the dialog is asked to do with the keys.
class KeyDialog : public ui::CDialog {
public:
    CEditEx edit;
    int okCount = 0;
    int nextControlRequests = 0;

protected:
    bool OnInitDialog() override {
        edit.SubclassDlgItem(kFirst, this);
        return ui::CDialog::OnInitDialog();
    }
    ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override {
        if (message == ui::WM_NEXTDLGCTL && wParam == 0 && lParam == 0) ++nextControlRequests;
        return ui::CDialog::WindowProc(message, wParam, lParam);
    }
    void OnOK() override { ++okCount; }
};

class PlainFrame : public ui::CWnd {
public:
    int nextControlRequests = 0;

protected:
    ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override {
        if (message == ui::WM_NEXTDLGCTL) ++nextControlRequests;
        return ui::CWnd::WindowProc(message, wParam, lParam);
    }
};

ui::DialogItemTemplate Edit(int id, int y) {
    ui::DialogItemTemplate item;
    item.className = ui::WC_EDIT;
    item.id = id;
    item.x = 4;
    item.y = y;
    item.cx = 40;
    item.cy = 12;
    item.style = ui::WS_VISIBLE | ui::WS_TABSTOP | ui::WS_BORDER | ui::ES_AUTOHSCROLL;
    return item;
}

class EditExTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::DialogTemplate t;
        t.id = 0xE417;
        t.cx = 60;
        t.cy = 60;
        t.style = ui::WS_POPUP | ui::WS_VISIBLE | ui::DS_SETFONT;
        t.items = {Edit(kFirst, 4), Edit(kSecond, 20), Edit(kThird, 36)};
        ui::RegisterDialogTemplate(t);
        ASSERT_TRUE(dialog.Create(t.id, nullptr));
    }
    void TearDown() override { ui::PumpMessages(); }

    ui::HWND Item(int id) { return ui::GetDlgItem(dialog.GetSafeHwnd(), id); }

    KeyDialog dialog;
};

}  // namespace

TEST_F(EditExTest, AsksTheDialogManagerForEveryKey) {
    const ui::LRESULT code = dialog.edit.SendMessage(ui::WM_GETDLGCODE);
    EXPECT_TRUE(code & ui::DLGC_WANTALLKEYS);
    EXPECT_TRUE(code & ui::DLGC_HASSETSEL) << "the edit's own code is kept";
}

TEST_F(EditExTest, EnterAndTabMoveTheFocusForwardInADialog) {
    ASSERT_EQ(ui::input::TypeText(Item(kFirst), L"12"), Result::Ok);
    EXPECT_EQ(dialog.edit.GetWindowText(), L"12");

    ASSERT_EQ(ui::input::PressKey(Item(kFirst), Key::Enter), Result::Ok);
    EXPECT_EQ(ui::GetFocus(), Item(kSecond));
    EXPECT_EQ(dialog.okCount, 0) << "Enter does not reach the default button";

    ASSERT_EQ(ui::input::PressKey(Item(kFirst), Key::ShiftTab), Result::Ok);
    EXPECT_EQ(ui::GetFocus(), Item(kSecond)) << "Shift+Tab goes forward too";
    EXPECT_EQ(dialog.nextControlRequests, 2);
    EXPECT_EQ(dialog.edit.GetWindowText(), L"12");
}

TEST(EditExOutsideDialogTest, EnterAndTabAreSwallowed) {
    PlainFrame frame;
    ASSERT_TRUE(frame.CreateEx(0, L"EditExTestFrame", L"", ui::WS_POPUP | ui::WS_VISIBLE,
                               ui::RECT{0, 0, 200, 100}, nullptr, 0));
    CEditEx edit;
    // A multi-line edit would take both keys as text if they reached it.
    ASSERT_TRUE(edit.Create(ui::WC_EDIT, L"",
                            ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_TABSTOP | ui::ES_MULTILINE,
                            ui::RECT{0, 0, 100, 20}, &frame, 7));
    ASSERT_EQ(ui::input::TypeText(edit.GetSafeHwnd(), L"a\tb\rc"), Result::Ok);
    EXPECT_EQ(edit.GetWindowText(), L"abc");
    EXPECT_EQ(ui::GetFocus(), edit.GetSafeHwnd());
    EXPECT_EQ(frame.nextControlRequests, 0);
    edit.DestroyWindow();
    frame.DestroyWindow();
    ui::PumpMessages();
}
