// Tests of the user-input entry points' checks and pacing, and of window tree snapshots.
#include "UiTestSupport.h"
#include "ui/Snapshot.h"

namespace uitest {
namespace {

using namespace ui::input;

class Input : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        const DWORD stop = kVisibleChild | WS_TABSTOP;
        dlg = Open(
            Template(700, 200, 120, kTopDialog,
                     {Item(WC_EDIT, 1, 5, 5, 60, 12, stop | WS_BORDER),
                      Item(WC_LISTBOX, 2, 5, 20, 60, 40, stop | WS_BORDER | LBS_NOTIFY),
                      Item(TRACKBAR_CLASS, 3, 70, 5, 100, 13, stop),
                      Item(WC_BUTTON, 4, 70, 20, 40, 14, stop | BS_PUSHBUTTON, L"Apply"),
                      Item(WC_TABCONTROL, 5, 70, 40, 120, 40, kVisibleChild),
                      Item(UPDOWN_CLASS, 6, 180, 5, 10, 14, kVisibleChild),
                      Item(WC_BUTTON, 7, 5, 65, 60, 30, kVisibleChild | BS_GROUPBOX, L"Group")}));
        SendMessage(Ctl(2), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
        SendMessage(Ctl(2), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"two"));
        SendMessage(Ctl(2), LB_SETITEMDATA, 1, 22);
        SendMessage(Ctl(3), TBM_SETRANGEMAX, 0, 50);
        SendMessage(Ctl(3), TBM_SETPOS, 1, 20);
        CTabCtrl tab;
        tab.SubclassWindow(Ctl(5));
        tab.InsertItem(TCIF_TEXT | TCIF_PARAM, 0, L"First", 0, 7);
        tab.InsertItem(TCIF_TEXT | TCIF_PARAM, 1, L"Second", 0, 8);
        tab.UnsubclassWindow();
        SetFocus(nullptr);
        dlg->Take();
    }
    HWND Ctl(int id) { return GetDlgItem(dlg->m_hWnd, id); }
    std::unique_ptr<LoggingDialog> dlg;
};

TEST_F(Input, RefusesWhatAPersonCouldNotDoAndDoesNothing) {
    const HWND gone =
        CreateWindowEx(0, WC_BUTTON, L"", kVisibleChild, 0, 0, 10, 10, dlg->m_hWnd, 99);
    DestroyWindow(gone);
    dlg->Take();
    EXPECT_EQ(Click(gone), Result::NoWindow);
    EXPECT_EQ(TypeText(Ctl(4), L"1"), Result::WrongKind);
    EXPECT_EQ(Click(Ctl(7)), Result::WrongKind);  // a group box takes no clicks
    EXPECT_EQ(SelectRow(Ctl(2), 2), Result::OutOfRange);
    EXPECT_EQ(SelectRow(Ctl(2), -1), Result::OutOfRange);
    EXPECT_EQ(DragSlider(Ctl(3), 51), Result::OutOfRange);
    EXPECT_EQ(ClickTab(Ctl(5), 2), Result::OutOfRange);
    EXPECT_EQ(ReleaseButton(Ctl(4)), Result::NotPressed);

    EnableWindow(Ctl(4), false);
    EXPECT_EQ(Click(Ctl(4)), Result::Disabled);
    EnableWindow(Ctl(4), true);
    EnableWindow(dlg->m_hWnd, false);  // a disabled dialog disables what is in it
    EXPECT_EQ(Click(Ctl(4)), Result::Disabled);
    EnableWindow(dlg->m_hWnd, true);
    ShowWindow(Ctl(1), SW_HIDE);
    EXPECT_EQ(PressKey(Ctl(1), Key::Enter), Result::Hidden);
    ShowWindow(Ctl(1), SW_SHOW);
    dlg->ShowWindow(SW_HIDE);  // a hidden ancestor hides it
    EXPECT_EQ(PressSpin(Ctl(6), Arrow::Up), Result::Hidden);
    EXPECT_EQ(MoveFocus(Ctl(1)), Result::Hidden);
    // Shown without being activated: activating a dialog gives its first control the focus.
    dlg->ShowWindow(SW_SHOWNA);

    EXPECT_EQ(dlg->Take(), Log{});
    EXPECT_EQ(SendMessage(Ctl(2), LB_GETCURSEL), LB_ERR);
    EXPECT_STREQ(Describe(Result::Disabled), L"control is disabled");
    EXPECT_STREQ(Describe(Result::OutOfRange), L"out of range");
}

TEST_F(Input, WhileAButtonIsHeldOnlyKeysAndItsReleaseGetThrough) {
    ASSERT_EQ(PressButton(Ctl(4)), Result::Ok);
    dlg->Take();
    EXPECT_EQ(SelectRow(Ctl(2), 1), Result::MouseHeld);
    EXPECT_EQ(DragSlider(Ctl(3), 30), Result::MouseHeld);
    EXPECT_EQ(ClickTab(Ctl(5), 1), Result::MouseHeld);
    EXPECT_EQ(PressSpin(Ctl(6), Arrow::Up), Result::MouseHeld);
    EXPECT_EQ(Click(Ctl(4)), Result::MouseHeld);
    EXPECT_EQ(PressButton(Ctl(4)), Result::MouseHeld);
    EXPECT_EQ(dlg->Take(), Log{});
    EXPECT_EQ(SendMessage(Ctl(2), LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(SendMessage(Ctl(3), TBM_GETPOS), 20);
    // A window that is not there is still named as such.
    EXPECT_EQ(Click(nullptr), Result::NoWindow);

    EXPECT_EQ(TypeText(Ctl(1), L"7"), Result::Ok);
    EXPECT_EQ(ReleaseButton(Ctl(4)), Result::Ok);
    EXPECT_EQ(SelectRow(Ctl(2), 1), Result::Ok);
    EXPECT_STREQ(Describe(Result::MouseHeld), L"mouse button is held down");
}

TEST_F(Input, AHeldButtonIsLetGoWhenItsWindowIsDestroyed) {
    const HWND held =
        CreateWindowEx(0, WC_BUTTON, L"", kVisibleChild, 0, 0, 10, 10, dlg->m_hWnd, 98);
    ASSERT_EQ(PressButton(held), Result::Ok);
    DestroyWindow(held);
    EXPECT_EQ(SelectRow(Ctl(2), 1), Result::Ok);
    EXPECT_EQ(ReleaseButton(held), Result::NoWindow);
}

TEST_F(Input, MessagesPostedByOneKeystrokeRunBeforeTheNext) {
    const UINT refresh = RegisterWindowMessage(L"AMBREL_TEST_INPUT_REFRESH");
    dlg->onMessage = [&](UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
            dlg->PostMessage(refresh, static_cast<WPARAM>(GetWindowTextLength(Ctl(1))));
    };
    TypeText(Ctl(1), L"12");
    Log seen;
    for (const std::string& line : dlg->Take())
        if (line.rfind("EN_CHANGE", 0) == 0 || line.rfind("REGISTERED", 0) == 0)
            seen.push_back(line);
    EXPECT_EQ(seen, (Log{"EN_CHANGE 1", "REGISTERED 1", "EN_CHANGE 1", "REGISTERED 2"}));
}

TEST_F(Input, ASnapshotShowsWhatAPersonSees) {
    SelectRow(Ctl(2), 1);
    const WindowSnapshot s = Snapshot(dlg->m_hWnd);
    EXPECT_EQ(s.kind, WindowKind::Dialog);
    ASSERT_EQ(s.children.size(), 7u);
    const WindowSnapshot& list = s.children[1];
    EXPECT_EQ(list.kind, WindowKind::ListBox);
    EXPECT_EQ(list.id, 2);
    EXPECT_TRUE(list.focused);
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[1].text, L"two");
    EXPECT_EQ(list.rows[1].data, 22);
    EXPECT_EQ(list.selection, 1);
    const WindowSnapshot& slider = s.children[2];
    EXPECT_EQ(std::make_tuple(slider.rangeMin, slider.rangeMax, slider.position),
              std::make_tuple(0, 50, 20));
    const WindowSnapshot& tabs = s.children[4];
    ASSERT_EQ(tabs.rows.size(), 2u);
    EXPECT_EQ(tabs.rows[1].text, L"Second");
    EXPECT_EQ(tabs.rows[1].data, 8);
    EXPECT_EQ(tabs.selection, 0);
    const std::wstring text = FormatSnapshot(s);
    EXPECT_NE(text.find(L"  list box id=2 focused selection=1 [\"one\":0, \"two\":22]\n"),
              std::wstring::npos)
        << Narrow(text);
    EXPECT_NE(text.find(L"  slider id=3 range=0..50 pos=20\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"  button id=4 \"Apply\"\n"), std::wstring::npos);
}

}  // namespace
}  // namespace uitest
