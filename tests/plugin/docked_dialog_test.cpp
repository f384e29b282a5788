// The docked dialog base on its own: its texts and values, its setup, and keys that would
// close an ordinary dialog.
#include <gtest/gtest.h>

#include "CDockedDlg.h"
#include "HostStandIns.h"
#include "ui/Input.h"
#include "ui/Template.h"

namespace {

constexpr ui::UINT kTemplate = 31001;
constexpr int kEdit = 31002;

TEST(DockedDialogTest, KeepsItsSetupAndTextsFromTheirDefaults) {
    HostLog log;
    TestSetup setup(log, L"Day 1");
    CDockedDlg dialog(kTemplate, nullptr);
    EXPECT_STREQ(dialog.GetName(), L"Unnamed dialog");
    EXPECT_STREQ(dialog.GetCaption(), L"");
    EXPECT_EQ(dialog.GetDockValue1(), 0);
    EXPECT_EQ(dialog.GetDockValue2(), 0);
    EXPECT_TRUE(dialog.GetDockFlag());
    EXPECT_EQ(dialog.GetSetup(), nullptr);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);

    EXPECT_EQ(dialog.SetSetup(&setup), &dialog);
    dialog.SetCaption(L"Caption");
    dialog.SetName(L"Name");

    EXPECT_EQ(dialog.GetSetup(), &setup);
    EXPECT_STREQ(dialog.GetCaption(), L"Caption");
    EXPECT_STREQ(dialog.GetName(), L"Name");
}

TEST(DockedDialogTest, EnterAndEscapeDoNotEndIt) {
    ui::DialogTemplate t;
    t.id = kTemplate;
    t.cx = 100;
    t.cy = 50;
    t.style = ui::WS_POPUP | ui::WS_VISIBLE | ui::DS_SETFONT;
    t.items.push_back(ui::DialogItemTemplate{ui::WC_EDIT, kEdit, L"", 5, 5, 40, 14,
                                             ui::WS_VISIBLE | ui::WS_TABSTOP, 0});
    ui::RegisterDialogTemplate(t);
    CDockedDlg dialog(kTemplate, nullptr);
    ASSERT_TRUE(dialog.Create(kTemplate, nullptr));
    const ui::HWND edit = ui::GetDlgItem(dialog.GetSafeHwnd(), kEdit);

    ASSERT_EQ(ui::input::PressKey(edit, ui::input::Key::Escape), ui::input::Result::Ok);
    ASSERT_EQ(ui::input::PressKey(edit, ui::input::Key::Enter), ui::input::Result::Ok);
    ui::SendMessage(dialog.GetSafeHwnd(), ui::WM_CLOSE);
    ui::PumpMessages();

    EXPECT_FALSE(ui::IsDialogEnded(dialog.GetSafeHwnd()));
    EXPECT_TRUE(dialog.IsWindowVisible());
    ui::UnregisterDialogTemplate(kTemplate);
}

}  // namespace
