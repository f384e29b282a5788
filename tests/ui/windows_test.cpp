// Tests of the window tree: visibility, geometry, z-order, re-parenting, focus and tab order.
#include "UiTestSupport.h"

namespace uitest {
namespace {

HWND Make(const wchar_t* cls, HWND parent, DWORD style, RECT r, int id = 0, DWORD ex = 0) {
    return CreateWindowEx(ex, cls, L"", style, r.left, r.top, r.Width(), r.Height(), parent, id);
}

// A window that writes down the focus messages it receives.
class FocusWatcher : public CWnd {
public:
    Log* log = nullptr;
    std::string name;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
            const bool focusAlreadyMoved = message == WM_KILLFOCUS && wParam &&
                                           ui::GetFocus() == reinterpret_cast<HWND>(wParam);
            log->push_back(name + (message == WM_SETFOCUS ? " WM_SETFOCUS" : " WM_KILLFOCUS") +
                           (focusAlreadyMoved ? " (focus already moved)" : ""));
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class Windows : public UiTest {
protected:
    void TearDown() override {
        DestroyWindow(top);
        UiTest::TearDown();
    }
    HWND top = Make(L"Frame", nullptr, WS_POPUP | WS_VISIBLE, RECT{100, 50, 500, 350});
};

TEST_F(Windows, VisibleMeansTheWindowAndEveryAncestor) {
    const HWND panel = Make(L"Panel", top, WS_CHILD, RECT{0, 0, 50, 50});
    const HWND button = Make(WC_BUTTON, panel, WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10});
    EXPECT_FALSE(IsWindowVisible(button));
    EXPECT_FALSE(ShowWindow(panel, SW_SHOW));  // answers whether it was visible
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_TRUE(ShowWindow(top, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(button));
    EXPECT_TRUE(GetWindowLong(button, GWL_STYLE) & WS_VISIBLE);
    ShowWindow(top, SW_SHOW);
    EXPECT_FALSE(EnableWindow(button, true));  // answers whether it was disabled
    EXPECT_FALSE(EnableWindow(panel, false));
    EXPECT_TRUE(EnableWindow(panel, false));
    EXPECT_TRUE(IsWindowEnabled(button));  // only its own state
}

TEST_F(Windows, ChildRectanglesAreInTheParentsClientArea) {
    const HWND framed = Make(L"Panel", top, WS_CHILD | WS_VISIBLE | WS_BORDER,
                             RECT{10, 20, 110, 80}, 0, WS_EX_CLIENTEDGE);
    const HWND inner = Make(WC_STATIC, framed, WS_CHILD | WS_VISIBLE, RECT{5, 6, 25, 16});
    RECT r{};
    GetWindowRect(framed, &r);
    EXPECT_EQ(r, (RECT{110, 70, 210, 130}));
    GetClientRect(framed, &r);
    EXPECT_EQ(r, (RECT{0, 0, 94, 54}));  // 1 px border and a 2 px client edge on each side
    GetWindowRect(inner, &r);
    EXPECT_EQ(r, (RECT{118, 79, 138, 89}));
    POINT p{0, 0};
    ClientToScreen(inner, &p);
    EXPECT_EQ(p, (POINT{118, 79}));
    ScreenToClient(top, &p);
    EXPECT_EQ(p, (POINT{18, 29}));
    POINT q{1, 1};
    MapWindowPoints(inner, framed, &q, 1);
    EXPECT_EQ(q, (POINT{6, 7}));
}

TEST_F(Windows, SetWindowPosPlacesAfterASiblingAndMovesAndSizes) {
    const HWND a = Make(L"P", top, WS_CHILD, RECT{0, 0, 1, 1});
    const HWND b = Make(L"P", top, WS_CHILD, RECT{0, 0, 1, 1});
    const HWND c = Make(L"P", top, WS_CHILD, RECT{0, 0, 1, 1});
    auto order = [&] {
        std::vector<HWND> v;
        for (HWND h = GetWindow(top, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) v.push_back(h);
        return v;
    };
    EXPECT_EQ(order(), (std::vector<HWND>{a, b, c}));  // creation order is z-order
    SetWindowPos(c, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(order(), (std::vector<HWND>{a, c, b}));
    SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(order(), (std::vector<HWND>{c, b, a}));
    SetWindowPos(b, HWND_TOP, 7, 8, 30, 40, SWP_SHOWWINDOW);
    EXPECT_EQ(order(), (std::vector<HWND>{b, c, a}));
    RECT r{};
    GetWindowRect(b, &r);
    EXPECT_EQ(r, (RECT{107, 58, 137, 98}));
    EXPECT_TRUE(IsWindowVisible(b));
    SetWindowPos(b, a, 1, 2, 3, 4, SWP_NOZORDER | SWP_NOSIZE);
    EXPECT_EQ(order(), (std::vector<HWND>{b, c, a}));
    GetWindowRect(b, &r);
    EXPECT_EQ(r, (RECT{101, 52, 131, 92}));
}

TEST_F(Windows, SetParentMovesAWindowUnderAnotherParent) {
    const HWND dock = Make(L"Dock", top, WS_CHILD | WS_VISIBLE, RECT{50, 50, 250, 250});
    const HWND other = Make(L"P", dock, WS_CHILD, RECT{0, 0, 1, 1});
    const HWND loose = Make(L"Docked", nullptr, WS_CHILD | WS_VISIBLE, RECT{10, 10, 60, 60});
    EXPECT_EQ(SetParent(loose, dock), nullptr);
    EXPECT_EQ(GetParent(loose), dock);
    EXPECT_TRUE(IsChild(top, loose));
    EXPECT_EQ(GetWindow(dock, GW_CHILD), loose);  // at the top of its new siblings
    EXPECT_EQ(GetWindow(loose, GW_HWNDNEXT), other);
    RECT r{};
    GetWindowRect(loose, &r);
    EXPECT_EQ(r, (RECT{160, 110, 210, 160}));
    EXPECT_TRUE(IsWindowVisible(loose));
    EXPECT_EQ(SetParent(dock, loose), nullptr);  // no cycles
    EXPECT_EQ(SetParent(loose, nullptr), dock);
    EXPECT_FALSE(IsChild(dock, loose));
    DestroyWindow(loose);
}

TEST_F(Windows, FocusMovesWithKillFocusFirstAndIsRefusedWhenDisabled) {
    Log log;
    FocusWatcher one, two;
    one.log = two.log = &log;
    one.name = "one";
    two.name = "two";
    ASSERT_TRUE(
        one.CreateEx(0, WC_EDIT, L"", kVisibleChild, RECT{0, 0, 10, 10}, CWnd::FromHandle(top), 1));
    ASSERT_TRUE(
        two.CreateEx(0, WC_EDIT, L"", kVisibleChild, RECT{0, 0, 10, 10}, CWnd::FromHandle(top), 2));
    SetFocus(one.m_hWnd);
    log.clear();
    EXPECT_EQ(SetFocus(two.m_hWnd), one.m_hWnd);
    EXPECT_EQ(log, (Log{"one WM_KILLFOCUS (focus already moved)", "two WM_SETFOCUS"}));
    EXPECT_EQ(SetFocus(two.m_hWnd), two.m_hWnd);  // no change, no messages
    EXPECT_EQ(log.size(), 2u);

    log.clear();
    EnableWindow(top, false);
    EXPECT_EQ(SetFocus(one.m_hWnd), nullptr);  // a disabled ancestor refuses it
    EXPECT_EQ(GetFocus(), two.m_hWnd);
    EnableWindow(top, true);
    EnableWindow(two.m_hWnd, false);  // disabling the focused window takes its focus away
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(log, (Log{"two WM_KILLFOCUS"}));
    EnableWindow(two.m_hWnd, true);

    const HWND panel = Make(L"Panel", top, kVisibleChild, RECT{0, 0, 50, 50});
    const HWND inner = Make(WC_EDIT, panel, kVisibleChild, RECT{0, 0, 10, 10});
    SetFocus(inner);
    ShowWindow(inner, SW_HIDE);  // hiding hands the focus to the hidden window's parent
    EXPECT_EQ(GetFocus(), panel);
    ShowWindow(inner, SW_SHOW);
    SetFocus(inner);
    ShowWindow(panel, SW_HIDE);  // but hiding an ancestor leaves it where it is
    EXPECT_EQ(GetFocus(), inner);
    DestroyWindow(panel);  // destroying the hidden ancestor still hands the focus up
    EXPECT_EQ(GetFocus(), top);
    SetFocus(one.m_hWnd);
    one.DestroyWindow();  // so does destroying
    EXPECT_EQ(GetFocus(), top);
}

TEST_F(Windows, TabOrderSkipsHiddenDisabledAndNonTabStopControlsAndWraps) {
    const HWND dialog = Make(WC_DIALOG, top, kVisibleChild, RECT{0, 0, 200, 200});
    const DWORD stop = kVisibleChild | WS_TABSTOP;
    const HWND first = Make(WC_EDIT, dialog, stop, RECT{0, 0, 1, 1}, 1);
    const HWND label = Make(WC_STATIC, dialog, kVisibleChild, RECT{0, 0, 1, 1}, 2);
    const HWND disabled = Make(WC_EDIT, dialog, stop | WS_DISABLED, RECT{0, 0, 1, 1}, 3);
    const HWND hidden = Make(WC_EDIT, dialog, WS_CHILD | WS_TABSTOP, RECT{0, 0, 1, 1}, 4);
    const HWND nested =
        Make(L"Group", dialog, kVisibleChild, RECT{0, 0, 9, 9}, 5, WS_EX_CONTROLPARENT);
    const HWND inside = Make(WC_BUTTON, nested, stop, RECT{0, 0, 1, 1}, 6);
    const HWND last = Make(WC_LISTBOX, dialog, stop, RECT{0, 0, 1, 1}, 7);
    (void)label;
    (void)disabled;
    (void)hidden;
    EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, false), first);
    EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, true), nullptr);  // as the platform answers
    EXPECT_EQ(GetNextDlgTabItem(dialog, first, false), inside);
    EXPECT_EQ(GetNextDlgTabItem(dialog, inside, false), last);
    EXPECT_EQ(GetNextDlgTabItem(dialog, last, false), first);  // wraps
    EXPECT_EQ(GetNextDlgTabItem(dialog, first, true), last);
    EXPECT_EQ(GetNextDlgTabItem(dialog, label, false), inside);  // from a non-tab-stop too

    SetFocus(first);
    SendMessage(dialog, WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(GetFocus(), inside);
    SendMessage(dialog, WM_NEXTDLGCTL, 1, 0);
    EXPECT_EQ(GetFocus(), first);
    SendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(last), 1);
    EXPECT_EQ(GetFocus(), last);

    const HWND alone = Make(WC_DIALOG, top, kVisibleChild, RECT{0, 0, 9, 9});
    const HWND only = Make(WC_EDIT, alone, stop, RECT{0, 0, 1, 1}, 1);
    EXPECT_EQ(GetNextDlgTabItem(alone, only, false), only);
}

}  // namespace
}  // namespace uitest
