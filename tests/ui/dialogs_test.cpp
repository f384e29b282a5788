// Tests of dialogs: templates, creation, the dialog manager's keys and data exchange.
#include <climits>

#include "UiTestSupport.h"
#include "ui/Snapshot.h"

namespace uitest {
namespace {

using input::Key;
using input::PressKey;

class Dialogs : public UiTest {};

TEST_F(Dialogs, TemplateControlsGetTheirIdsStylesAndPixelGeometry) {
    auto dlg = Open(
        Template(500, 233, 100, kTopDialog,
                 {Item(WC_LISTBOX, 16315, 97, 11, 130, 69,
                       kVisibleChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                           LBS_NOINTEGRALHEIGHT),
                  Item(WC_STATIC, IDC_STATIC, 8, 1, 29, 8, kVisibleChild | SS_LEFT, L"Feature:"),
                  Item(WC_EDIT, 16329, 187, 7, 37, 14,
                       kVisibleChild | WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL),
                  Item(WC_BUTTON, 16306, 104, 61, 48, 15,
                       WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE, L"Automatic")}));
    const HWND d = dlg->m_hWnd;
    RECT r{};
    GetClientRect(d, &r);
    EXPECT_EQ(r, (RECT{0, 0, 350, 163}));  // 233 x 100 units at 6 x 13 base units

    const std::vector<HWND> children = GetChildWindows(d);
    ASSERT_EQ(children.size(), 4u);
    const int ids[] = {16315, -1, 16329, 16306};
    const wchar_t* classes[] = {L"ListBox", L"Static", L"Edit", L"Button"};
    const RECT rects[] = {
        {146, 18, 341, 130}, {12, 2, 56, 15}, {281, 11, 337, 34}, {156, 99, 228, 123}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(GetDlgCtrlID(children[i]), ids[i]);
        EXPECT_EQ(GetClassName(children[i]), classes[i]);
        GetWindowRect(children[i], &r);
        EXPECT_EQ(r, rects[i]) << i;
        EXPECT_TRUE(GetWindowLong(children[i], GWL_STYLE) & WS_CHILD);
        EXPECT_TRUE(GetWindowLong(children[i], GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY);
    }
    EXPECT_EQ(GetWindowText(children[1]), L"Feature:");
    EXPECT_TRUE(GetWindowLong(children[2], GWL_STYLE) & ES_NUMBER);
    EXPECT_FALSE(IsWindowVisible(children[3]));  // no WS_VISIBLE in the template
    EXPECT_EQ(GetWindowKind(children[3]), WindowKind::CheckBox);
    RECT units{97, 11, 97 + 130, 11 + 69};
    ASSERT_TRUE(MapDialogRect(d, &units));
    EXPECT_EQ(units, rects[0]);
    EXPECT_EQ(FindDialogTemplate(500)->items.size(), 4u);
    EXPECT_EQ(FindDialogTemplate(499), nullptr);
}

RECT RectInParent(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    POINT origin{r.left, r.top};
    ScreenToClient(GetParent(hwnd), &origin);
    return RECT{origin.x, origin.y, origin.x + r.Width(), origin.y + r.Height()};
}

TEST_F(Dialogs, TheTemplatePlacesTheClientAreaAndAPageHasNoFrame) {
    auto host = Open(Template(903, 200, 100, kTopDialog, {}));
    DialogTemplate t =
        Template(904, 60, 40, WS_CHILD | WS_VISIBLE | WS_BORDER,
                 {Item(WC_EDIT, 5, 0, 0, 40, 12, kVisibleChild | WS_TABSTOP | WS_BORDER)});
    t.x = 20;
    t.y = 16;
    RegisterDialogTemplate(t);
    LoggingDialog framed;
    ASSERT_TRUE(framed.Create(904, host.get()));
    EXPECT_EQ(GetParent(framed.m_hWnd), host->m_hWnd);
    RECT client{};
    GetClientRect(framed.m_hWnd, &client);
    EXPECT_EQ(client, (RECT{0, 0, 90, 65}));
    EXPECT_EQ(RectInParent(framed.m_hWnd), (RECT{29, 25, 29 + 92, 25 + 67}));
    EXPECT_EQ(GetFocus(), GetDlgItem(framed.m_hWnd, 5));

    // A DS_CONTROL dialog is a page of its parent: no caption or border of its own, and the
    // focus is left alone until it is shown.
    t.id = 905;
    t.style = WS_CHILD | WS_BORDER | WS_SYSMENU | DS_CONTROL;
    RegisterDialogTemplate(t);
    LoggingDialog page;
    ASSERT_TRUE(page.Create(905, host.get()));
    const auto style = static_cast<DWORD>(GetWindowLong(page.m_hWnd, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), 0u);
    EXPECT_TRUE(GetWindowLong(page.m_hWnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    EXPECT_EQ(RectInParent(page.m_hWnd), (RECT{30, 26, 30 + 90, 26 + 65}));
    EXPECT_EQ(GetFocus(), GetDlgItem(framed.m_hWnd, 5));
}

TEST_F(Dialogs, AnItemOfAnyOtherClassBecomesAPlainWindow) {
    auto dlg = Open(Template(506, 100, 40, kTopDialog,
                             {Item(L"AmbrelTestPanel", 7, 5, 5, 40, 20, kVisibleChild, L"panel"),
                              Item(WC_EDIT, 8, 50, 5, 40, 12, kVisibleChild | WS_TABSTOP)}));
    ASSERT_NE(dlg->m_hWnd, nullptr);
    const HWND panel = GetDlgItem(dlg->m_hWnd, 7);
    EXPECT_EQ(GetWindowKind(panel), WindowKind::Window);
    EXPECT_EQ(GetWindowText(panel), L"panel");
    EXPECT_NE(GetDlgItem(dlg->m_hWnd, 8), nullptr);
}

// A dialog whose members are shown in and read from its controls.
class ExchangeDialog : public LoggingDialog {
public:
    int a = 1, b = 2, check = 1;
    std::wstring name = L"cam";
    CEdit edit;
    bool initialisedBeforeCreateReturned = false;

    bool OnInitDialog() override {
        initialisedBeforeCreateReturned = true;
        return LoggingDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, 10, edit);
        DDX_Text(pDX, 10, a);
        DDX_Text(pDX, 11, b);
        DDX_Check(pDX, 12, check);
        DDX_Text(pDX, 13, name);
    }
};

DialogTemplate ExchangeTemplate(UINT id, DWORD style) {
    const DWORD edit = kVisibleChild | WS_TABSTOP | WS_BORDER;
    return Template(
        id, 100, 60, style,
        {Item(WC_STATIC, IDC_STATIC, 0, 0, 20, 8, kVisibleChild, L"A"),
         Item(WC_EDIT, 10, 20, 0, 40, 12, edit), Item(WC_EDIT, 11, 20, 14, 40, 12, edit),
         Item(WC_BUTTON, 12, 20, 28, 40, 10, kVisibleChild | BS_AUTOCHECKBOX),
         Item(WC_EDIT, 13, 20, 40, 40, 12, edit)});
}

class DataExchange : public Dialogs {
protected:
    void SetUp() override {
        Dialogs::SetUp();
        RegisterDialogTemplate(ExchangeTemplate(510, kTopDialog));
        ASSERT_TRUE(dlg.Create(510));
        dlg.Take();
    }
    void TearDown() override {
        SetDataExchangeFailureHandler(nullptr);
        dlg.DestroyWindow();
        Dialogs::TearDown();
    }
    HWND Edit(int id) { return GetDlgItem(dlg.m_hWnd, id); }
    ExchangeDialog dlg;
};

TEST_F(DataExchange, CreateRunsInitDialogWhichShowsTheMembers) {
    EXPECT_TRUE(dlg.initialisedBeforeCreateReturned);
    EXPECT_EQ(dlg.edit.m_hWnd, Edit(10));  // bound by DDX_Control
    EXPECT_EQ(CWnd::FromHandlePermanent(Edit(10)), &dlg.edit);
    EXPECT_EQ(GetWindowText(Edit(10)), L"1");
    EXPECT_EQ(GetWindowText(Edit(11)), L"2");
    EXPECT_EQ(SendMessage(Edit(12), BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(GetWindowText(Edit(13)), L"cam");
    EXPECT_EQ(GetFocus(), Edit(10));  // OnInitDialog answered true: the first tab stop
}

TEST_F(DataExchange, NotificationsAreHeldOffWhileExchanging) {
    dlg.a = 5;
    ASSERT_TRUE(dlg.UpdateData(false));
    EXPECT_EQ(GetWindowText(Edit(10)), L"5");
    EXPECT_TRUE(dlg.log.empty());
    SetWindowText(Edit(10), L"6");  // outside an exchange the change is reported at once
    EXPECT_EQ(dlg.Take(), (Log{"EN_UPDATE 10", "EN_CHANGE 10"}));
}

TEST_F(DataExchange, ReadingSucceedsForEveryValidInteger) {
    const std::pair<const wchar_t*, int> cases[] = {{L" 12 ", 12},
                                                    {L"-3", -3},
                                                    {L"+7", 7},
                                                    {L"\t5\t", 5},
                                                    {L"99999999999", INT_MAX},
                                                    {L"-99999999999", INT_MIN}};
    for (const auto& [text, value] : cases) {
        SetWindowText(Edit(11), text);
        ASSERT_TRUE(dlg.UpdateData(true)) << Narrow(text);
        EXPECT_EQ(dlg.b, value) << Narrow(text);
    }
    SetWindowText(Edit(13), L"new name");
    SendMessage(Edit(12), BM_SETCHECK, BST_UNCHECKED);
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.name, L"new name");
    EXPECT_EQ(dlg.check, 0);
    EXPECT_EQ(GetLastDataExchangeError(), L"");
}

TEST_F(DataExchange, AFailedReadChangesNoMemberAndIsReported) {
    std::vector<DataExchangeFailure> reported;
    SetDataExchangeFailureHandler([&](const DataExchangeFailure& f) { reported.push_back(f); });
    for (const wchar_t* bad : {L"12a", L"", L"-", L"1 2", L"3.5"}) {
        reported.clear();
        SetWindowText(Edit(10), L"7");
        SetWindowText(Edit(11), bad);
        SetWindowText(Edit(13), L"changed");
        SetFocus(Edit(13));
        dlg.Take();
        EXPECT_FALSE(dlg.UpdateData(true)) << Narrow(bad);
        EXPECT_EQ(dlg.a, 1);  // valid and read before the failure, yet unchanged
        EXPECT_EQ(dlg.b, 2);
        EXPECT_EQ(dlg.name, L"cam");
        ASSERT_EQ(reported.size(), 1u);
        EXPECT_EQ(reported[0].dialog, dlg.m_hWnd);
        EXPECT_EQ(reported[0].controlId, 11);
        EXPECT_EQ(reported[0].message, L"Please enter an integer.");
        EXPECT_EQ(GetLastDataExchangeError(), L"Please enter an integer.");
        // The offending edit gets the focus with its text selected; the focus change is
        // not reported while the exchange runs.
        EXPECT_EQ(GetFocus(), Edit(11));
        DWORD from = 9, to = 9;
        SendMessage(Edit(11), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                    reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(from, 0u);
        EXPECT_EQ(to, std::wcslen(bad));
        EXPECT_TRUE(dlg.log.empty());
    }
    SetWindowText(Edit(11), L"4");
    EXPECT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(GetLastDataExchangeError(), L"");
}

TEST_F(DataExchange, ShowingAnUnchangedValueLeavesTheEditAlone) {
    SetWindowText(Edit(10), L"1");
    SendMessage(Edit(10), EM_SETSEL, 1, 1);
    dlg.Take();
    ASSERT_TRUE(dlg.UpdateData(false));
    DWORD from = 0, to = 0;
    SendMessage(Edit(10), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 1u);  // not rewritten, so the caret stays
}

TEST_F(Dialogs, AChildDialogCanBeCreatedWithoutAParentAndDockedLater) {
    RegisterDialogTemplate(ExchangeTemplate(511, WS_CHILD | DS_SETFONT | WS_CLIPSIBLINGS));
    ExchangeDialog docked;
    ASSERT_TRUE(docked.Create(511, nullptr));
    EXPECT_EQ(GetParent(docked.m_hWnd), nullptr);
    EXPECT_FALSE(IsWindowVisible(docked.m_hWnd));
    const HWND host =
        CreateWindowEx(0, L"Host", L"", WS_POPUP | WS_VISIBLE, 40, 30, 400, 300, nullptr, 0);
    EXPECT_EQ(docked.SetParent(CWnd::FromHandle(host)), nullptr);
    docked.SetWindowPos(nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    RECT r{};
    docked.GetWindowRect(&r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.top, 50);
    EXPECT_TRUE(docked.IsWindowVisible());
    DestroyWindow(host);  // takes the docked dialog with it
    EXPECT_EQ(docked.m_hWnd, nullptr);
}

// An edit that asks the dialog manager for every key and turns Enter and Tab into a move to
// the next control.
class WantsAllKeys : public CEdit {
public:
    Log log;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_GETDLGCODE:
                return CEdit::WindowProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
            case WM_KEYDOWN:
                log.push_back("WM_KEYDOWN " + std::to_string(wParam));
                break;
            case WM_CHAR:
                log.push_back("WM_CHAR " + std::to_string(wParam));
                if (wParam == '\r' || wParam == '\t') {
                    GetParent()->SendMessage(WM_NEXTDLGCTL, 0, 0);
                    return 0;
                }
                break;
            default:
                break;
        }
        return CEdit::WindowProc(message, wParam, lParam);
    }
};

class DialogKeys : public Dialogs {
protected:
    void SetUp() override {
        Dialogs::SetUp();
        const DWORD stop = kVisibleChild | WS_TABSTOP;
        dlg =
            Open(Template(520, 120, 60, kTopDialog,
                          {Item(WC_EDIT, 1001, 0, 0, 40, 12, stop | WS_BORDER),
                           Item(WC_EDIT, 1002, 0, 14, 40, 12, stop | WS_BORDER),
                           Item(WC_BUTTON, 1003, 0, 28, 40, 14, stop | BS_PUSHBUTTON, L"Apply")}));
        SetWindowText(Ctl(1002), L"abc");
        dlg->Take();
    }
    HWND Ctl(int id) { return GetDlgItem(dlg->m_hWnd, id); }
    std::unique_ptr<LoggingDialog> dlg;
};

TEST_F(DialogKeys, TabMovesTheFocusAndSelectsTheNextEditsText) {
    ASSERT_EQ(GetFocus(), Ctl(1001));  // the first tab stop, since OnInitDialog answered true
    EXPECT_EQ(PressKey(Ctl(1001), Key::Tab), input::Result::Ok);
    EXPECT_EQ(GetFocus(), Ctl(1002));
    EXPECT_EQ(dlg->Take(), (Log{"EN_KILLFOCUS 1001", "EN_SETFOCUS 1002"}));
    EXPECT_EQ(SendMessage(Ctl(1002), EM_GETSEL), MAKELONG(0, 3));
    PressKey(Ctl(1002), Key::ShiftTab);
    EXPECT_EQ(GetFocus(), Ctl(1001));
    PressKey(Ctl(1003), Key::Tab);  // wraps to the first
    EXPECT_EQ(GetFocus(), Ctl(1001));
}

TEST_F(DialogKeys, EnterAndEscapeBecomeOkAndCancel) {
    PressKey(Ctl(1001), Key::Enter);
    PressKey(Ctl(1001), Key::Escape);
    EXPECT_EQ(dlg->Take(), (Log{"WM_COMMAND 1", "OnOK", "WM_COMMAND 2", "OnCancel"}));
    EXPECT_TRUE(dlg->IsWindowVisible());  // overridden to do nothing: the dialog stays
    PressKey(Ctl(1003), Key::Enter);      // a focused push button is pressed instead
    EXPECT_EQ(dlg->Take(), (Log{"EN_KILLFOCUS 1001", "BN_CLICKED 1003"}));
}

TEST_F(DialogKeys, TheDefaultOkEndsAModelessDialog) {
    dlg->endOnOkCancel = true;
    PressKey(Ctl(1001), Key::Enter);
    int result = 0;
    EXPECT_TRUE(IsDialogEnded(dlg->m_hWnd, &result));
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_TRUE(IsWindow(dlg->m_hWnd));
}

TEST_F(DialogKeys, AControlThatWantsAllKeysGetsThem) {
    WantsAllKeys edit;
    ASSERT_TRUE(edit.SubclassDlgItem(1002, dlg.get()));
    PressKey(Ctl(1002), Key::Escape);
    PressKey(Ctl(1002), Key::Enter);
    EXPECT_EQ(edit.log, (Log{"WM_KEYDOWN 27", "WM_CHAR 27", "WM_KEYDOWN 13", "WM_CHAR 13"}));
    EXPECT_EQ(GetFocus(), Ctl(1003));  // its Enter moved on
    const Log seen = dlg->Take();
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "OnOK"), 0);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "OnCancel"), 0);
    edit.UnsubclassWindow();
}

}  // namespace
}  // namespace uitest
