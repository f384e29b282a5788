// Conformance tests of the controls: what the parent dialog receives, and in which order, when
// code changes a control and when a person uses it.
#include <algorithm>

#include "UiTestSupport.h"

namespace uitest {
namespace {

using namespace ui::input;

enum : int {
    kEdit = 10,
    kNumber = 11,
    kList = 20,
    kQuietList = 21,
    kCombo = 30,
    kSlider = 40,
    kVertical = 41,
    kSpin = 50,
    kCheck = 60,
    kPush = 61,
    kPushLike = 62,
    kTab = 70,
};

class Controls : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        const DWORD stop = kVisibleChild | WS_TABSTOP;
        dlg = Open(Template(
            600, 300, 200, kTopDialog,
            {Item(WC_EDIT, kEdit, 5, 5, 60, 12, stop | WS_BORDER | ES_AUTOHSCROLL),
             Item(WC_EDIT, kNumber, 70, 5, 60, 12, stop | WS_BORDER | ES_NUMBER),
             Item(WC_LISTBOX, kList, 5, 20, 80, 40, stop | WS_BORDER | LBS_NOTIFY),
             Item(WC_LISTBOX, kQuietList, 90, 20, 80, 40, stop | WS_BORDER),
             Item(WC_COMBOBOX, kCombo, 175, 20, 60, 50, stop | CBS_DROPDOWNLIST | WS_VSCROLL),
             Item(TRACKBAR_CLASS, kSlider, 5, 65, 116, 13, stop | TBS_NOTICKS),
             Item(TRACKBAR_CLASS, kVertical, 130, 65, 13, 60, stop | TBS_VERT),
             Item(UPDOWN_CLASS, kSpin, 150, 65, 10, 14, kVisibleChild | UDS_ARROWKEYS),
             Item(WC_BUTTON, kCheck, 5, 85, 80, 10, stop | BS_AUTOCHECKBOX, L"Check"),
             Item(WC_BUTTON, kPush, 5, 100, 40, 14, stop | BS_PUSHBUTTON, L"Apply"),
             Item(WC_BUTTON, kPushLike, 50, 100, 40, 14, stop | BS_AUTOCHECKBOX | BS_PUSHLIKE,
                  L"Automatic"),
             Item(WC_TABCONTROL, kTab, 0, 120, 232, 70, kVisibleChild)}));
        SetFocus(nullptr);  // each test starts with no control focused
        dlg->Take();
    }
    HWND Ctl(int id) { return GetDlgItem(dlg->m_hWnd, id); }
    std::unique_ptr<LoggingDialog> dlg;
};

// --- edit --------------------------------------------------------------------------------

class EditControl : public Controls {};

TEST_F(EditControl, SetTextRaisesUpdateThenChangeAtOnceEvenWhenUnchanged) {
    CEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(kEdit, dlg.get()));
    edit.SetWindowText(L"12.5");
    EXPECT_EQ(dlg->Take(), (Log{"EN_UPDATE 10", "EN_CHANGE 10"}));
    edit.SetWindowText(L"12.5");
    EXPECT_EQ(dlg->Take(), (Log{"EN_UPDATE 10", "EN_CHANGE 10"}));
    int from = -1, to = -1;
    edit.GetSel(from, to);
    EXPECT_EQ(from, 0);  // the caret goes to the start
    EXPECT_EQ(to, 0);
    EXPECT_FALSE(edit.GetModify());
    edit.UnsubclassWindow();
}

TEST_F(EditControl, TypingReplacesTheSelectionKeyByKey) {
    SetWindowText(Ctl(kEdit), L"old");
    MoveFocus(Ctl(kNumber));
    dlg->Take();
    ASSERT_EQ(TypeText(Ctl(kEdit), L"4b"), Result::Ok);
    EXPECT_EQ(GetWindowText(Ctl(kEdit)), L"4b");
    EXPECT_EQ(dlg->Take(), (Log{"EN_KILLFOCUS 11", "EN_SETFOCUS 10", "EN_UPDATE 10", "EN_CHANGE 10",
                                "EN_UPDATE 10", "EN_CHANGE 10"}));
    EXPECT_TRUE(SendMessage(Ctl(kEdit), EM_GETMODIFY));
}

TEST_F(EditControl, ShiftedAndUnkeyedCharactersArriveOneByOne) {
    ASSERT_EQ(TypeText(Ctl(kEdit), L"A%\u00b5x"), Result::Ok);
    EXPECT_EQ(GetWindowText(Ctl(kEdit)), L"A%\u00b5x");
    const Log log = dlg->Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), "EN_UPDATE 10"), 4);
    EXPECT_EQ(std::count(log.begin(), log.end(), "EN_CHANGE 10"), 4);
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);  // no key is left held down
}

TEST_F(EditControl, DigitsOnlyEditsRefuseOtherKeysSilently) {
    TypeText(Ctl(kNumber), L"1a-2.");
    EXPECT_EQ(GetWindowText(Ctl(kNumber)), L"12");
    Log changes;
    for (const std::string& line : dlg->Take())
        if (line == "EN_CHANGE 11") changes.push_back(line);
    EXPECT_EQ(changes.size(), 2u);
}

TEST_F(EditControl, PasteReplacesTheSelectionAtOnceUnfiltered) {
    TypeText(Ctl(kNumber), L"7");
    dlg->Take();
    ASSERT_EQ(PasteText(Ctl(kNumber), L"3.5"), Result::Ok);
    EXPECT_EQ(GetWindowText(Ctl(kNumber)), L"3.5");
    EXPECT_EQ(dlg->Take(), (Log{"EN_UPDATE 11", "EN_CHANGE 11"}));
}

TEST_F(EditControl, SelectionReplaceSelAndBackspace) {
    CEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(kEdit, dlg.get()));
    MoveFocus(edit);
    edit.SetWindowText(L"abcdef");
    edit.SetSel(1, 3);
    int from = 0, to = 0;
    edit.GetSel(from, to);
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(1, 3));
    dlg->Take();
    edit.ReplaceSel(L"XY");  // from code, still reported
    EXPECT_EQ(edit.GetWindowText(), L"aXYdef");
    EXPECT_EQ(dlg->Take(), (Log{"EN_UPDATE 10", "EN_CHANGE 10"}));
    edit.SetSel(-1, 0);  // removes the selection, the caret stays after the insertion
    edit.GetSel(from, to);
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(3, 3));
    edit.SetSel(0, -1);  // everything
    edit.GetSel(from, to);
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(0, 6));
    edit.SetSel(-1);  // the caret to the end
    edit.GetSel(from, to);
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(6, 6));
    PressKey(Ctl(kEdit), Key::Backspace);
    EXPECT_EQ(edit.GetWindowText(), L"aXYde");
    edit.SetSel(0, 0);
    dlg->Take();
    PressKey(Ctl(kEdit), Key::Backspace);  // nothing before the caret: nothing happens
    EXPECT_EQ(dlg->Take(), Log{});
    edit.SetLimitText(6);
    edit.SetSel(5, 5);
    dlg->Take();
    SendMessage(Ctl(kEdit), WM_CHAR, L'z', 0);
    SendMessage(Ctl(kEdit), WM_CHAR, L'z', 0);
    EXPECT_EQ(edit.GetWindowText(), L"aXYdez");
    // The refused key is still reported as an edit.
    EXPECT_EQ(dlg->Take(), (Log{"EN_UPDATE 10", "EN_CHANGE 10", "EN_MAXTEXT 10", "EN_UPDATE 10",
                                "EN_CHANGE 10"}));
    edit.UnsubclassWindow();
}

// --- list box and combo box -----------------------------------------------------------

class ListControls : public Controls {
protected:
    void Fill(CListBox& list, int rows) {
        for (int i = 0; i < rows; ++i) {
            const int at = list.AddString((L"Row " + std::to_wstring(i)).c_str());
            list.SetItemData(at, static_cast<DWORD_PTR>(100 + i));
        }
    }
};

TEST_F(ListControls, ChangesFromCodeAreSilent) {
    CListBox list;
    ASSERT_TRUE(list.SubclassDlgItem(kList, dlg.get()));
    Fill(list, 3);
    EXPECT_EQ(list.InsertString(1, L"Inserted"), 1);
    EXPECT_EQ(list.InsertString(9, L"Nowhere"), LB_ERR);
    EXPECT_EQ(list.SetCurSel(2), 2);
    EXPECT_EQ(list.GetCount(), 4);
    std::wstring text;
    list.GetText(2, text);
    EXPECT_EQ(text, L"Row 1");
    EXPECT_EQ(list.GetItemData(2), 101u);
    EXPECT_EQ(list.GetItemData(1), 0u);
    EXPECT_EQ(list.SetCurSel(7), LB_ERR);  // out of range: the selection stays
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(list.DeleteString(0), 3);  // rows before the selection move it up
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(list.DeleteString(1), 2);  // deleting the selected row deselects
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    EXPECT_EQ(list.FindStringExact(-1, L"row 2"), 1);
    EXPECT_EQ(list.SetCurSel(-1), LB_ERR);
    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(dlg->Take(), Log{});
    list.UnsubclassWindow();
}

TEST_F(ListControls, AUsersSelectionIsReportedWhenTheButtonComesUp) {
    CListBox list, quiet;
    ASSERT_TRUE(list.SubclassDlgItem(kList, dlg.get()));
    ASSERT_TRUE(quiet.SubclassDlgItem(kQuietList, dlg.get()));
    Fill(list, 12);
    Fill(quiet, 2);
    SetFocus(nullptr);
    dlg->Take();
    ASSERT_EQ(SelectRow(list, 9), Result::Ok);  // below the visible rows: scrolled to first
    EXPECT_EQ(list.GetCurSel(), 9);
    EXPECT_LE(list.GetTopIndex(), 9);
    EXPECT_EQ(dlg->Take(), (Log{"LBN_SETFOCUS 20", "LBN_SELCHANGE 20"}));
    SelectRow(list, 9);  // the same row again is reported again
    EXPECT_EQ(dlg->Take(), (Log{"LBN_SELCHANGE 20"}));
    SelectRow(quiet, 1);  // without LBS_NOTIFY only the focus is reported
    EXPECT_EQ(quiet.GetCurSel(), 1);
    EXPECT_EQ(dlg->Take(), (Log{"LBN_KILLFOCUS 20", "LBN_SETFOCUS 21"}));
    PressKey(list, Key::Down);
    EXPECT_EQ(list.GetCurSel(), 10);
    EXPECT_EQ(dlg->Take(), (Log{"LBN_KILLFOCUS 21", "LBN_SETFOCUS 20", "LBN_SELCHANGE 20"}));
    list.UnsubclassWindow();
    quiet.UnsubclassWindow();
}

TEST_F(ListControls, ADropDownListReportsAUsersChoiceAsItCloses) {
    CComboBox combo;
    ASSERT_TRUE(combo.SubclassDlgItem(kCombo, dlg.get()));
    for (const wchar_t* text : {L"1", L"2", L"4"}) combo.AddString(text);
    combo.SetItemData(2, 4);
    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.GetWindowText(), L"2");
    EXPECT_EQ(combo.SetCurSel(5), CB_ERR);  // out of range clears the selection
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    SetFocus(nullptr);
    EXPECT_EQ(dlg->Take(), Log{});
    ASSERT_EQ(SelectRow(combo, 2), Result::Ok);
    EXPECT_EQ(dlg->Take(), (Log{"CBN_SETFOCUS 30", "CBN_DROPDOWN 30", "CBN_SELENDOK 30",
                                "CBN_CLOSEUP 30", "CBN_SELCHANGE 30"}));
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.GetItemData(combo.GetCurSel()), 4u);
    EXPECT_EQ(combo.GetWindowText(), L"4");
    EXPECT_FALSE(combo.GetDroppedState());
    combo.UnsubclassWindow();
}

TEST_F(ListControls, ADropDownRowOutOfViewIsScrolledToFirst) {
    CComboBox combo;
    ASSERT_TRUE(combo.SubclassDlgItem(kCombo, dlg.get()));
    for (int i = 0; i < 40; ++i) combo.AddString((L"Value " + std::to_wstring(i)).c_str());
    ASSERT_EQ(SelectRow(combo, 37), Result::Ok);
    EXPECT_EQ(combo.GetCurSel(), 37);
    EXPECT_EQ(combo.GetWindowText(), L"Value 37");
    const Log log = dlg->Take();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "CBN_SELCHANGE 30");
    EXPECT_EQ(SelectRow(combo, 40), Result::OutOfRange);
    combo.UnsubclassWindow();
}

// --- slider ------------------------------------------------------------------------------

class SliderControl : public Controls {};

TEST_F(SliderControl, RangeAndPositionFromCodeClampSilently) {
    CSliderCtrl slider;
    ASSERT_TRUE(slider.SubclassDlgItem(kSlider, dlg.get()));
    slider.SetRange(10, 900, true);
    EXPECT_EQ(slider.GetPos(), 10);  // the old position 0 is clamped into the new range
    slider.SetPos(250);
    EXPECT_EQ(slider.GetPos(), 250);
    slider.SetPos(5000);
    EXPECT_EQ(slider.GetPos(), 900);
    slider.SetRange(0, 100);
    EXPECT_EQ(slider.GetPos(), 100);
    EXPECT_EQ(slider.GetRangeMin(), 0);
    EXPECT_EQ(slider.GetRangeMax(), 100);
    EXPECT_EQ(slider.GetPageSize(), 20);
    EXPECT_EQ(dlg->Take(), Log{});
    slider.UnsubclassWindow();
}

TEST_F(SliderControl, ADragTracksThenReportsTheFinalPositionAndTheEnd) {
    CSliderCtrl slider;
    ASSERT_TRUE(slider.SubclassDlgItem(kSlider, dlg.get()));
    slider.SetRange(10, 900);
    slider.SetPos(250);
    int seenDuringTrack = -1;
    dlg->onMessage = [&](UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_HSCROLL && LOWORD(wParam) == TB_THUMBTRACK)
            seenDuringTrack = slider.GetPos();
    };
    ASSERT_EQ(DragSlider(slider, 123), Result::Ok);
    EXPECT_EQ(dlg->Take(),
              (Log{"WM_HSCROLL TB_THUMBTRACK 123 40", "WM_HSCROLL TB_THUMBPOSITION 123 40",
                   "WM_HSCROLL TB_ENDTRACK 0 40", "NM_RELEASEDCAPTURE 40"}));
    EXPECT_EQ(seenDuringTrack, 123);
    EXPECT_EQ(GetFocus(), slider.m_hWnd);
    DragSlider(slider, 123);  // let go where it was: nothing tracked
    EXPECT_EQ(dlg->Take(), (Log{"WM_HSCROLL TB_THUMBPOSITION 123 40", "WM_HSCROLL TB_ENDTRACK 0 40",
                                "NM_RELEASEDCAPTURE 40"}));
    DragSlider(Ctl(kVertical), 30);
    EXPECT_EQ(dlg->Take(),
              (Log{"WM_VSCROLL TB_THUMBTRACK 30 41", "WM_VSCROLL TB_THUMBPOSITION 30 41",
                   "WM_VSCROLL TB_ENDTRACK 0 41", "NM_RELEASEDCAPTURE 41"}));
    slider.UnsubclassWindow();
}

TEST_F(SliderControl, ADragReachesPositionsFinerThanAPixel) {
    // Far more positions than pixels: the hand still gets to the one it wants.
    CSliderCtrl slider;
    ASSERT_TRUE(slider.SubclassDlgItem(kSlider, dlg.get()));
    slider.SetRange(0, 20000);
    for (int target : {1, 12345, 19999}) {
        ASSERT_EQ(DragSlider(slider, target), Result::Ok);
        const std::string at = std::to_string(target);
        EXPECT_EQ(dlg->Take(), (Log{"WM_HSCROLL TB_THUMBTRACK " + at + " 40",
                                    "WM_HSCROLL TB_THUMBPOSITION " + at + " 40",
                                    "WM_HSCROLL TB_ENDTRACK 0 40", "NM_RELEASEDCAPTURE 40"}));
        EXPECT_EQ(slider.GetPos(), target);
    }
    slider.UnsubclassWindow();
}

// --- spin --------------------------------------------------------------------------------

class SpinControl : public Controls {
protected:
    void SetUp() override {
        Controls::SetUp();
        ASSERT_TRUE(spin.SubclassDlgItem(kSpin, dlg.get()));
        spin.SetRange32(0, 10);
        spin.SetPos32(3);
        dlg->Take();
    }
    void TearDown() override {
        spin.UnsubclassWindow();
        Controls::TearDown();
    }
    CSpinButtonCtrl spin;
};

TEST_F(SpinControl, AnArrowAsksFirstWithTheOldPositionAndTheStep) {
    std::vector<int> positions;
    dlg->onMessage = [&](UINT message, WPARAM, LPARAM) {
        if (message == WM_NOTIFY || message == WM_VSCROLL) positions.push_back(spin.GetPos32());
    };
    ASSERT_EQ(PressSpin(spin, Arrow::Up), Result::Ok);
    EXPECT_EQ(dlg->Take(), (Log{"UDN_DELTAPOS 50 pos=3 delta=1", "WM_VSCROLL SB_THUMBPOSITION 4 50",
                                "WM_VSCROLL SB_ENDSCROLL 4 50"}));
    EXPECT_EQ(positions, (std::vector<int>{3, 4, 4}));
    PressSpin(spin, Arrow::Down);
    EXPECT_EQ(dlg->Take(),
              (Log{"UDN_DELTAPOS 50 pos=4 delta=-1", "WM_VSCROLL SB_THUMBPOSITION 3 50",
                   "WM_VSCROLL SB_ENDSCROLL 3 50"}));
    EXPECT_NE(GetFocus(), spin.m_hWnd);  // an up-down control does not take the focus
}

TEST_F(SpinControl, ANonZeroAnswerKeepsThePositionAndTheParentMayChangeTheStep) {
    dlg->answerNotify = [](NMHDR& hdr) -> LRESULT { return hdr.code == UDN_DELTAPOS; };
    PressSpin(spin, Arrow::Up);
    EXPECT_EQ(spin.GetPos32(), 3);
    EXPECT_EQ(dlg->Take(), (Log{"UDN_DELTAPOS 50 pos=3 delta=1", "WM_VSCROLL SB_THUMBPOSITION 3 50",
                                "WM_VSCROLL SB_ENDSCROLL 3 50"}));
    dlg->answerNotify = [](NMHDR& hdr) -> LRESULT {
        if (hdr.code == UDN_DELTAPOS) reinterpret_cast<NMUPDOWN&>(hdr).iDelta = 5;
        return 0;
    };
    PressSpin(spin, Arrow::Up);
    EXPECT_EQ(spin.GetPos32(), 8);
}

TEST_F(SpinControl, ThePositionStopsAtTheEndsOfTheRange) {
    spin.SetPos32(10);
    dlg->Take();
    PressSpin(spin, Arrow::Up);
    EXPECT_EQ(spin.GetPos32(), 10);
    EXPECT_EQ(dlg->Take(),
              (Log{"UDN_DELTAPOS 50 pos=10 delta=1", "WM_VSCROLL SB_THUMBPOSITION 10 50",
                   "WM_VSCROLL SB_ENDSCROLL 10 50"}));
    spin.SetPos32(0);
    PressSpin(spin, Arrow::Down);
    EXPECT_EQ(spin.GetPos32(), 0);
    spin.SetRange32(0, 0);
    PressSpin(spin, Arrow::Up);
    EXPECT_EQ(spin.GetPos32(), 0);
    spin.ModifyStyle(0, UDS_WRAP);
    spin.SetRange32(0, 10);
    spin.SetPos32(10);
    PressSpin(spin, Arrow::Up);
    EXPECT_EQ(spin.GetPos32(), 0);  // only with UDS_WRAP
}

TEST_F(SpinControl, AHorizontalSpinStepsUpWithItsRightArrowAndScrollsHorizontally) {
    CSpinButtonCtrl across;
    ASSERT_TRUE(across.CreateEx(0, UPDOWN_CLASS, L"", kVisibleChild | UDS_HORZ, RECT{0, 0, 32, 16},
                                dlg.get(), 52));
    across.SetRange32(0, 10);
    across.SetPos32(5);
    dlg->Take();
    ASSERT_EQ(PressSpin(across, Arrow::Up), Result::Ok);
    EXPECT_EQ(dlg->Take(), (Log{"UDN_DELTAPOS 52 pos=5 delta=1", "WM_HSCROLL SB_THUMBPOSITION 6 52",
                                "WM_HSCROLL SB_ENDSCROLL 6 52"}));
    PressSpin(across, Arrow::Down);
    EXPECT_EQ(across.GetPos32(), 5);
}

TEST_F(SpinControl, PositionFromCodeIsClampedAndSilent) {
    EXPECT_EQ(spin.SetPos32(-5), 3);  // answers the previous position
    EXPECT_EQ(spin.GetPos32(), 0);
    spin.SetPos32(99);
    bool error = false;
    EXPECT_EQ(spin.GetPos32(&error), 10);
    EXPECT_TRUE(error);  // the platform flags a control without a buddy holding a number
    EXPECT_EQ(spin.GetPos(), MAKELONG(10, 1));
    int low = 0, high = 0;
    spin.GetRange32(low, high);
    EXPECT_EQ(std::make_pair(low, high), std::make_pair(0, 10));
    EXPECT_EQ(dlg->Take(), Log{});

    CSpinButtonCtrl fresh;  // the default range runs from 100 down to 0: Up decrements
    ASSERT_TRUE(
        fresh.CreateEx(0, UPDOWN_CLASS, L"", kVisibleChild, RECT{0, 0, 16, 24}, dlg.get(), 51));
    fresh.SetPos32(50);
    PressSpin(fresh, Arrow::Up);
    EXPECT_EQ(fresh.GetPos32(), 49);
    EXPECT_EQ(dlg->Take()[0], "UDN_DELTAPOS 51 pos=50 delta=-1");
}

// --- buttons -----------------------------------------------------------------------------

class ButtonControls : public Controls {};

TEST_F(ButtonControls, AnAutomaticCheckBoxTogglesBeforeItReportsTheClick) {
    CButton check;
    ASSERT_TRUE(check.SubclassDlgItem(kCheck, dlg.get()));
    int seenInHandler = -1;
    dlg->onMessage = [&](UINT message, WPARAM, LPARAM) {
        if (message == WM_COMMAND) seenInHandler = check.GetCheck();
    };
    check.SetCheck(BST_CHECKED);  // from code: silent
    EXPECT_EQ(dlg->Take(), Log{});
    ASSERT_EQ(Click(check), Result::Ok);
    EXPECT_EQ(dlg->Take(), (Log{"BN_CLICKED 60"}));
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(seenInHandler, BST_UNCHECKED);
    EXPECT_EQ(GetFocus(), check.m_hWnd);
    Click(Ctl(kPushLike));  // a check box drawn as a push button toggles too
    EXPECT_EQ(SendMessage(Ctl(kPushLike), BM_GETCHECK), BST_CHECKED);
    Click(Ctl(kPush));
    EXPECT_EQ(SendMessage(Ctl(kPush), BM_GETCHECK), BST_UNCHECKED);
    EXPECT_EQ(dlg->Take(), (Log{"BN_CLICKED 62", "BN_CLICKED 61"}));
    check.UnsubclassWindow();
}

TEST_F(ButtonControls, AHeldButtonReportsTheClickOnlyWhenLetGo) {
    ASSERT_EQ(PressButton(Ctl(kPush)), Result::Ok);
    EXPECT_TRUE(SendMessage(Ctl(kPush), BM_GETSTATE) & BST_PUSHED);
    AdvanceClock(1000);
    EXPECT_EQ(dlg->Take(), Log{});
    ASSERT_EQ(ReleaseButton(Ctl(kPush)), Result::Ok);
    EXPECT_EQ(dlg->Take(), (Log{"BN_CLICKED 61"}));
    EXPECT_FALSE(SendMessage(Ctl(kPush), BM_GETSTATE) & BST_PUSHED);
    EXPECT_EQ(ReleaseButton(Ctl(kPush)), Result::NotPressed);

    // Disabled while held: the button loses the mouse and never reports the click.
    PressButton(Ctl(kPush));
    EnableWindow(Ctl(kPush), false);
    EXPECT_EQ(ReleaseButton(Ctl(kPush)), Result::Ok);
    EXPECT_EQ(dlg->Take(), Log{});
}

// A button that tells its parent at once when pressed and then again and again while held,
// faster and faster, as step buttons do.
class HoldToRepeat : public CButton {
public:
    UINT trigger = RegisterWindowMessage(L"AMBREL_TEST_REPEAT_TRIGGER");

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_LBUTTONDOWN:
                GetParent()->SendMessage(trigger, static_cast<WPARAM>(GetDlgCtrlID()));
                m_interval = 500;
                SetTimer(1, m_interval);
                break;
            case WM_TIMER:
                if (wParam != 1) break;
                GetParent()->PostMessage(trigger, static_cast<WPARAM>(GetDlgCtrlID()));
                if (m_interval == 500) m_interval = 100;
                if (m_interval > 1) --m_interval;
                SetTimer(1, m_interval);
                return 0;
            case WM_LBUTTONUP:
            case WM_DESTROY:
                KillTimer(1);
                break;
            default:
                break;
        }
        return CButton::WindowProc(message, wParam, lParam);
    }

private:
    UINT m_interval = 0;
};

TEST_F(ButtonControls, ADerivedButtonActsBeforeTheDefaultAndRepeatsWhileHeld) {
    HoldToRepeat button;
    ASSERT_TRUE(button.SubclassDlgItem(kPush, dlg.get()));
    const auto start = GetTickCount();
    Log triggers;
    dlg->onMessage = [&](UINT message, WPARAM wParam, LPARAM) {
        if (message != button.trigger) return;
        const bool pushed = (button.GetState() & BST_PUSHED) != 0;
        triggers.push_back(std::to_string(wParam) + " @" + std::to_string(GetTickCount() - start) +
                           (pushed ? " pushed" : ""));
    };
    PressButton(button);
    AdvanceClock(700);
    ReleaseButton(button);
    AdvanceClock(500);
    EXPECT_EQ(triggers, (Log{"61 @0", "61 @500 pushed", "61 @599 pushed", "61 @697 pushed"}));
    EXPECT_EQ(dlg->log.back(), "BN_CLICKED 61");
    button.UnsubclassWindow();
}

// --- tab control -------------------------------------------------------------------------

class TabControl : public Controls {
protected:
    void SetUp() override {
        Controls::SetUp();
        ASSERT_TRUE(tab.SubclassDlgItem(kTab, dlg.get()));
        for (int i = 0; i < 4; ++i)
            tab.InsertItem(TCIF_TEXT | TCIF_PARAM, tab.GetItemCount(), kNames[i], 0, 1000 + i);
        dlg->Take();
    }
    void TearDown() override {
        tab.UnsubclassWindow();
        Controls::TearDown();
    }
    static constexpr const wchar_t* kNames[] = {L"Settings", L"Adjustment", L"Image", L"Exposure"};
    CTabCtrl tab;
};

TEST_F(TabControl, ChangesFromCodeAreSilent) {
    EXPECT_EQ(tab.GetCurSel(), 0);  // the first tab inserted is selected and focused
    EXPECT_EQ(tab.GetCurFocus(), 0);
    EXPECT_EQ(tab.SetCurSel(2), 0);
    EXPECT_EQ(tab.GetCurFocus(), 2);
    EXPECT_EQ(tab.SetCurSel(9), -1);
    wchar_t text[32] = {};
    TCITEM item;
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = text;
    item.cchTextMax = 32;
    ASSERT_TRUE(tab.GetItem(3, &item));
    EXPECT_EQ(std::wstring(text), L"Exposure");
    EXPECT_EQ(item.lParam, 1003);
    EXPECT_FALSE(tab.GetItem(4, &item));
    EXPECT_EQ(item.lParam, 0);
    EXPECT_TRUE(tab.DeleteItem(1));  // before the selection: it moves up with its tab
    EXPECT_EQ(tab.GetCurSel(), 1);
    EXPECT_TRUE(tab.DeleteItem(1));  // the selected tab: nothing selected
    EXPECT_EQ(tab.GetCurSel(), -1);
    EXPECT_EQ(tab.GetCurFocus(), 2);  // the focus index is left as it stood
    EXPECT_EQ(tab.GetItemCount(), 2);
    EXPECT_EQ(dlg->Take(), Log{});
}

TEST_F(TabControl, HeaderGeometryAndDisplayArea) {
    RECT first{}, second{}, r{};
    ASSERT_TRUE(tab.GetItemRect(0, &first));
    ASSERT_TRUE(tab.GetItemRect(1, &second));
    EXPECT_FALSE(tab.GetItemRect(4, &r));
    // One row of headers side by side from (2, 2), 18 pixels high; the platform sizes each from
    // the text as its font measures it, the in-memory control at 6 pixels a character.
    EXPECT_EQ(std::make_tuple(first.left, first.top, first.bottom), std::make_tuple(2, 2, 20));
    EXPECT_EQ(std::make_tuple(second.left, second.top, second.bottom),
              std::make_tuple(first.right, 2, 20));
    EXPECT_GT(second.Width(), first.Width());  // "Adjustment" is longer than "Settings"
    if (!kRealControls) {
        EXPECT_EQ(first, (RECT{2, 2, 62, 20}));  // 8 characters * 6 + 12
        EXPECT_EQ(second, (RECT{62, 2, 134, 20}));
    }
    RECT area{0, 0, 348, 114};
    tab.AdjustRect(false, &area);
    EXPECT_EQ(area, (RECT{4, 22, 344, 110}));
    tab.AdjustRect(true, &area);
    EXPECT_EQ(area, (RECT{0, 0, 348, 114}));
    TCHITTESTINFO hit;
    hit.pt = POINT{(second.left + second.right) / 2, 10};
    EXPECT_EQ(tab.HitTest(&hit), 1);
}

TEST_F(TabControl, AClickAsksThenChangesThenReportsTheClick) {
    std::vector<int> selections;
    dlg->onMessage = [&](UINT message, WPARAM, LPARAM) {
        if (message == WM_NOTIFY) selections.push_back(tab.GetCurSel());
    };
    ASSERT_EQ(ClickTab(tab, 2), Result::Ok);
    EXPECT_EQ(dlg->Take(), (Log{"TCN_SELCHANGING 70", "TCN_SELCHANGE 70", "NM_CLICK 70"}));
    EXPECT_EQ(selections, (std::vector<int>{0, 2, 2}));
    EXPECT_EQ(tab.GetCurFocus(), 2);
    EXPECT_EQ(GetFocus(), tab.m_hWnd);

    dlg->answerNotify = [](NMHDR& hdr) -> LRESULT { return hdr.code == TCN_SELCHANGING; };
    ClickTab(tab, 3);  // refused
    EXPECT_EQ(dlg->Take(), (Log{"TCN_SELCHANGING 70", "NM_CLICK 70"}));
    EXPECT_EQ(tab.GetCurSel(), 2);
    ClickTab(tab, 2);  // the selected tab
    EXPECT_EQ(dlg->Take(), (Log{"NM_CLICK 70"}));
}

TEST_F(TabControl, SettingTheFocusFromCodeAsksAndSelects) {
    tab.SetCurFocus(0);  // already focused and selected: nothing
    EXPECT_EQ(dlg->Take(), Log{});
    tab.SetCurFocus(3);
    EXPECT_EQ(dlg->Take(), (Log{"TCN_SELCHANGING 70", "TCN_SELCHANGE 70"}));
    EXPECT_EQ(tab.GetCurSel(), 3);
    // Unlike a click, focusing from code is not kept back by a refusal: the tab is selected
    // anyway, only without TCN_SELCHANGE.
    dlg->answerNotify = [](NMHDR& hdr) -> LRESULT { return hdr.code == TCN_SELCHANGING; };
    tab.SetCurFocus(1);
    EXPECT_EQ(dlg->Take(), (Log{"TCN_SELCHANGING 70"}));
    EXPECT_EQ(tab.GetCurSel(), 1);
    EXPECT_EQ(tab.GetCurFocus(), 1);
    tab.SetCurFocus(-1);
    EXPECT_EQ(dlg->Take(), (Log{"TCN_SELCHANGE 70"}));
    EXPECT_EQ(tab.GetCurFocus(), -1);
}

// A tab control that handles its own selection change (reflected to it) and keeps it from
// the parent, as a tab frame does to show the page of the chosen tab.
class SelfHandlingTab : public CTabCtrl {
public:
    std::vector<LPARAM> shown;

protected:
    bool OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) override {
        if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != TCN_SELCHANGE)
            return false;
        TCITEM item;
        item.mask = TCIF_PARAM;
        GetItem(GetCurFocus(), &item);
        shown.push_back(item.lParam);
        *result = 0;
        return true;
    }
};

TEST_F(TabControl, AControlObjectHandlesItsOwnNotificationFirst) {
    tab.UnsubclassWindow();
    SelfHandlingTab own;
    ASSERT_TRUE(own.SubclassDlgItem(kTab, dlg.get()));
    dlg->handled.clear();
    ClickTab(own, 1);
    EXPECT_EQ(own.shown, (std::vector<LPARAM>{1001}));
    EXPECT_EQ(dlg->handled, (Log{"TCN_SELCHANGING 70", "NM_CLICK 70"}));
    own.UnsubclassWindow();
    ASSERT_TRUE(tab.SubclassDlgItem(kTab, dlg.get()));
}

}  // namespace
}  // namespace uitest
