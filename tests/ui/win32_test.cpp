// Tests of what only the win32 backend has: dialogs the platform's dialog manager builds from
// our templates, the platform's structures as real controls fill them, window objects bound to
// real windows, the framework's timers beside the controls' own, and the exact order in which
// real controls report a person's input.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "UiTestSupport.h"
#include "ui/Snapshot.h"

namespace uitest {
namespace {

using namespace ui::input;

// Messages and codes the portable headers leave out because no page uses them; their values
// are the platform's.
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_NCCALCSIZE = 0x0083;
// The id the older, 16-bit template form gives every static nobody addresses.
constexpr UINT kStaticId0xFFFF = 0xFFFF;

bool SameText(const std::wstring& a, const wchar_t* b) {
    return _wcsicmp(a.c_str(), b) == 0;
}

// Where the dialog manager puts a control: its origin and its size are mapped apart, each
// rounded on its own.
RECT Units(HWND dialog, int x, int y, int cx, int cy) {
    RECT r{x, y, cx, cy};
    EXPECT_TRUE(MapDialogRect(dialog, &r));
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

RECT InParent(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    POINT origin{r.left, r.top};
    ScreenToClient(GetParent(hwnd), &origin);
    return RECT{origin.x, origin.y, origin.x + r.Width(), origin.y + r.Height()};
}

// --- templates -------------------------------------------------------------------------

class Win32Templates : public UiTest {};

TEST_F(Win32Templates, EveryControlKindBecomesTheRealControlWithItsIdStyleTextAndPlace) {
    struct Expected {
        const wchar_t* cls;
        int id;
        DWORD style;
        const wchar_t* text;
        int x, y, cx, cy;
        WindowKind kind;
    };
    const DWORD stop = kVisibleChild | WS_TABSTOP;
    // Texts of odd and even length, so that items start on both halves of a DWORD.
    const Expected items[] = {
        {WC_STATIC, IDC_STATIC, kVisibleChild | SS_LEFT, L"Port:", 4, 3, 21, 8, WindowKind::Static},
        {WC_STATIC, static_cast<int>(kStaticId0xFFFF), kVisibleChild | SS_RIGHT, L"Gain", 4, 15, 21,
         8, WindowKind::Static},
        {WC_EDIT, 101, stop | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL, L"25", 30, 2, 40, 12,
         WindowKind::Edit},
        {WC_LISTBOX, 102, stop | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, L"", 4,
         28, 66, 40, WindowKind::ListBox},
        {WC_COMBOBOX, 103, stop | CBS_DROPDOWNLIST | WS_VSCROLL, L"", 76, 2, 60, 60,
         WindowKind::ComboBox},
        {TRACKBAR_CLASS, 104, stop | TBS_NOTICKS, L"", 76, 18, 80, 13, WindowKind::Slider},
        {UPDOWN_CLASS, 105, kVisibleChild | UDS_ARROWKEYS, L"", 160, 18, 10, 14, WindowKind::Spin},
        {WC_BUTTON, 106, stop | BS_PUSHBUTTON, L"Apply", 76, 36, 40, 14, WindowKind::PushButton},
        {WC_BUTTON, 107, stop | BS_AUTOCHECKBOX | BS_PUSHLIKE, L"Automatic", 120, 36, 48, 14,
         WindowKind::CheckBox},
        {WC_BUTTON, 108, stop | BS_AUTORADIOBUTTON | WS_GROUP, L"On", 76, 54, 30, 10,
         WindowKind::RadioButton},
        {WC_BUTTON, IDC_STATIC, kVisibleChild | BS_GROUPBOX, L"Mode", 72, 50, 100, 18,
         WindowKind::GroupBox},
        {WC_TABCONTROL, 109, kVisibleChild, L"", 4, 72, 170, 40, WindowKind::Tab},
        {WC_EDIT, 110, WS_BORDER, L"hidden", 30, 15, 40, 12, WindowKind::Edit},
    };
    std::vector<DialogItemTemplate> templateItems;
    for (const Expected& e : items)
        templateItems.push_back(Item(e.cls, e.id, e.x, e.y, e.cx, e.cy, e.style, e.text));
    DialogTemplate t = Template(900, 180, 116, kTopDialog, std::move(templateItems));
    t.caption = L"Camera";  // odd length
    auto dlg = Open(std::move(t));
    const HWND d = dlg->m_hWnd;

    EXPECT_TRUE(SameText(GetClassName(d), WC_DIALOG));
    EXPECT_EQ(GetWindowText(d), L"Camera");
    RECT client{};
    GetClientRect(d, &client);
    EXPECT_EQ(client, (RECT{0, 0, 270, 189}));  // 180 x 116 units at 6 x 13 base units

    const std::vector<HWND> children = GetChildWindows(d);
    ASSERT_EQ(children.size(), std::size(items));
    for (std::size_t i = 0; i < std::size(items); ++i) {
        const Expected& e = items[i];
        const HWND c = children[i];
        SCOPED_TRACE(Narrow(e.cls) + " " + std::to_string(e.id));
        EXPECT_TRUE(SameText(GetClassName(c), e.cls)) << Narrow(GetClassName(c));
        EXPECT_EQ(GetWindowKind(c), e.kind);
        EXPECT_EQ(GetDlgCtrlID(c), e.id);
        EXPECT_EQ(GetWindowLong(c, GWL_ID), e.id);
        // The real edit draws its border itself, and a list shows its scroll bar only when
        // needed (a combo box gives its own to its list): those bits are theirs to clear.
        const auto style = static_cast<DWORD>(GetWindowLong(c, GWL_STYLE));
        const DWORD theirs = e.kind == WindowKind::Edit || e.kind == WindowKind::ListBox ||
                                     e.kind == WindowKind::ComboBox
                                 ? WS_BORDER | WS_VSCROLL
                                 : 0;
        EXPECT_EQ(style & (e.style | WS_CHILD) & ~theirs, (e.style | WS_CHILD) & ~theirs);
        EXPECT_EQ((style & WS_VISIBLE) != 0, (e.style & WS_VISIBLE) != 0);
        EXPECT_TRUE(GetWindowLong(c, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY);
        if (e.kind != WindowKind::ComboBox) {
            EXPECT_EQ(GetWindowText(c), e.text);
        }
        // A drop-down list is as high as its closed field; the template's height is the list's.
        RECT expected = Units(d, e.x, e.y, e.cx, e.cy);
        RECT placed = InParent(c);
        if (e.kind == WindowKind::ComboBox) expected.bottom = placed.bottom;
        // An up-down control is never narrower than a scroll bar's arrow.
        if (e.kind == WindowKind::Spin) expected.right = std::max(placed.right, expected.right);
        EXPECT_EQ(placed, expected);
        // Every control with text speaks in the dialog's font.
        if (e.kind != WindowKind::Slider && e.kind != WindowKind::Spin) {
            EXPECT_EQ(SendMessage(c, WM_GETFONT), SendMessage(d, WM_GETFONT));
        }
        if (e.id != IDC_STATIC) {
            EXPECT_EQ(GetDlgItem(d, e.id), c);
        }
    }
    EXPECT_NE(SendMessage(d, WM_GETFONT), 0);
    // The first of the statics nobody addresses answers for their id.
    EXPECT_EQ(GetDlgItem(d, IDC_STATIC), children[0]);
}

TEST_F(Win32Templates, DialogUnitsComeFromTheTemplatesFont) {
    // The pages' templates ask for the shell font (DS_SETFONT | DS_FIXEDSYS): the same units.
    DialogTemplate t = Template(901, 100, 50, kTopDialog | DS_FIXEDSYS,
                                {Item(WC_BUTTON, 1, 10, 10, 40, 14, kVisibleChild, L"OK")});
    auto dlg = Open(t);
    EXPECT_EQ(DialogBaseUnits(), (SIZE{6, 13}));
    EXPECT_EQ(Units(dlg->m_hWnd, 0, 0, 4, 8), (RECT{0, 0, 6, 13}));
    EXPECT_EQ(Units(dlg->m_hWnd, 1, 1, 1, 1), (RECT{2, 2, 4, 4}));  // 1.5 and 1.625 round up
    dlg->DestroyWindow();

    // Another size has the base units of that font, which only roughly scale.
    t.id = 902;
    t.fontPointSize = 16;
    auto large = Open(t);
    const SIZE base = DialogBaseUnits(16);
    EXPECT_EQ(Units(large->m_hWnd, 0, 0, 4, 8), (RECT{0, 0, base.cx, base.cy}));
    RECT client{};
    GetClientRect(large->m_hWnd, &client);
    EXPECT_EQ(client, (RECT{0, 0, base.cx * 100 / 4, (base.cy * 50 + 4) / 8}));
}

// --- window objects on real windows ---------------------------------------------------

// A window object that writes down the messages it gets, and may refuse its creation.
class Watcher : public CWnd {
public:
    std::vector<UINT> messages;
    CREATESTRUCT seenAtNcCreate{};
    std::wstring nameAtNcCreate, classAtNcCreate;
    HWND handleAtNcCreate = nullptr;
    LRESULT ncCreateAnswer = 1;
    LRESULT createAnswer = 0;
    bool swallowSetText = false;
    int postNcDestroyCalls = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        if (message == WM_NCCREATE) {
            seenAtNcCreate = *reinterpret_cast<const CREATESTRUCT*>(lParam);
            nameAtNcCreate = seenAtNcCreate.lpszName ? seenAtNcCreate.lpszName : L"";
            classAtNcCreate = seenAtNcCreate.lpszClass ? seenAtNcCreate.lpszClass : L"";
            handleAtNcCreate = m_hWnd;
            if (!ncCreateAnswer) return 0;
        }
        if (message == WM_CREATE && createAnswer) return createAnswer;
        if (message == WM_SETTEXT && swallowSetText) return 1;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { ++postNcDestroyCalls; }
};

std::size_t IndexOf(const std::vector<UINT>& messages, UINT message) {
    return static_cast<std::size_t>(std::find(messages.begin(), messages.end(), message) -
                                    messages.begin());
}

class Win32Binding : public UiTest {};

TEST_F(Win32Binding, AnObjectBoundAtCreationSeesTheFirstMessagesAndTheirStructure) {
    auto host = Open(Template(910, 200, 100, kTopDialog, {}));
    Watcher edit;
    int params = 0;
    ASSERT_NE(CreateWindowEx(WS_EX_CLIENTEDGE, WC_EDIT, L"start", kVisibleChild | ES_AUTOHSCROLL, 7,
                             9, 120, 24, host->m_hWnd, 42, &edit, &params),
              nullptr);
    ASSERT_FALSE(edit.messages.empty());
    // Nothing reached the real edit before its object: WM_NCCREATE is the object's first
    // message, or comes right after the size query a window gets before it.
    const std::size_t nc = IndexOf(edit.messages, WM_NCCREATE);
    ASSERT_LT(nc, edit.messages.size());
    for (std::size_t i = 0; i < nc; ++i) EXPECT_EQ(edit.messages[i], WM_GETMINMAXINFO);
    EXPECT_LT(nc, IndexOf(edit.messages, WM_NCCALCSIZE));
    EXPECT_LT(IndexOf(edit.messages, WM_NCCALCSIZE), IndexOf(edit.messages, WM_CREATE));
    EXPECT_EQ(edit.handleAtNcCreate, edit.m_hWnd);

    const CREATESTRUCT& cs = edit.seenAtNcCreate;
    EXPECT_EQ(cs.lpCreateParams, &params);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(cs.hMenu), 42);
    EXPECT_EQ(cs.hwndParent, host->m_hWnd);
    EXPECT_EQ(std::make_tuple(cs.x, cs.y, cs.cx, cs.cy), std::make_tuple(7, 9, 120, 24));
    EXPECT_EQ(static_cast<DWORD>(cs.style) & (kVisibleChild | ES_AUTOHSCROLL),
              kVisibleChild | ES_AUTOHSCROLL);
    EXPECT_TRUE(cs.dwExStyle & WS_EX_CLIENTEDGE);
    EXPECT_EQ(edit.nameAtNcCreate, L"start");
    EXPECT_TRUE(SameText(edit.classAtNcCreate, WC_EDIT));

    // The default procedure behind the object is the real edit's.
    EXPECT_EQ(edit.GetWindowText(), L"start");
    EXPECT_EQ(edit.SendMessage(WM_GETDLGCODE) & (DLGC_WANTCHARS | DLGC_HASSETSEL),
              DLGC_WANTCHARS | DLGC_HASSETSEL);
    edit.swallowSetText = true;
    edit.SetWindowText(L"kept out");
    EXPECT_EQ(edit.GetWindowText(), L"start");
    EXPECT_TRUE(CallDefaultProc(edit.m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"let in")));
    EXPECT_EQ(edit.GetWindowText(), L"let in");
    EXPECT_EQ(CallDefaultProc(edit.m_hWnd, EM_GETLIMITTEXT, 0, 0),
              edit.SendMessage(EM_GETLIMITTEXT));
}

// A dialog object that notes what it could see of its window as its messages arrive.
class WatchingDialog : public CDialog {
public:
    std::vector<UINT> messages;
    std::size_t controlsAtInit = 0;
    HWND focusHintAtInit = nullptr;
    LPARAM initParam = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        if (message == WM_INITDIALOG) {
            controlsAtInit = GetChildWindows(m_hWnd).size();
            focusHintAtInit = reinterpret_cast<HWND>(wParam);
            initParam = lParam;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

TEST_F(Win32Binding, ADialogObjectIsBoundFromItsFirstMessageAndInitialisedWithItsControls) {
    RegisterDialogTemplate(
        Template(912, 100, 40, kTopDialog,
                 {Item(WC_STATIC, IDC_STATIC, 0, 0, 30, 8, kVisibleChild, L"Exposure"),
                  Item(WC_EDIT, 2, 30, 0, 40, 12, kVisibleChild | WS_TABSTOP | WS_BORDER)}));
    WatchingDialog dialog;
    ASSERT_NE(CreateDialogFromTemplate(912, nullptr, &dialog, 77), nullptr);
    const std::size_t nc = IndexOf(dialog.messages, WM_NCCREATE);
    ASSERT_LT(nc, dialog.messages.size());
    for (std::size_t i = 0; i < nc; ++i) EXPECT_EQ(dialog.messages[i], WM_GETMINMAXINFO);
    EXPECT_LT(IndexOf(dialog.messages, WM_CREATE), IndexOf(dialog.messages, WM_INITDIALOG));
    EXPECT_EQ(dialog.controlsAtInit, 2u);
    EXPECT_EQ(dialog.focusHintAtInit, dialog.GetDlgItem(2)->m_hWnd);
    EXPECT_EQ(dialog.initParam, 77);
    EXPECT_EQ(GetFocus(), dialog.GetDlgItem(2)->m_hWnd);
    // The controls were taken in without an object of their own.
    EXPECT_EQ(CWnd::FromHandlePermanent(GetDlgItem(dialog.m_hWnd, 2)), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog.m_hWnd), &dialog);
}

TEST_F(Win32Binding, ARefusedCreationLeavesNoWindowAndNoBinding) {
    Watcher refusesEarly;
    refusesEarly.ncCreateAnswer = 0;
    EXPECT_EQ(CreateWindowEx(0, L"AmbrelTestWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, 0,
                             &refusesEarly),
              nullptr);
    EXPECT_EQ(refusesEarly.m_hWnd, nullptr);
    Watcher refusesLate;
    refusesLate.createAnswer = -1;
    EXPECT_FALSE(
        refusesLate.CreateEx(0, WC_BUTTON, L"x", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
    EXPECT_EQ(refusesLate.m_hWnd, nullptr);
    ASSERT_FALSE(refusesLate.messages.empty());
    EXPECT_EQ(refusesLate.messages.back(), WM_NCDESTROY);
    EXPECT_EQ(refusesLate.postNcDestroyCalls, 1);
}

TEST_F(Win32Binding, AnObjectLetsGoAfterTheLastMessageAndGoneHandlesAnswerSafely) {
    auto host = Open(Template(911, 200, 100, kTopDialog,
                              {Item(WC_EDIT, 3, 5, 5, 60, 12, kVisibleChild | WS_TABSTOP),
                               Item(WC_BUTTON, 4, 5, 20, 40, 14, kVisibleChild, L"Apply")}));
    Watcher button;
    ASSERT_TRUE(button.SubclassDlgItem(4, host.get()));
    const HWND gone = button.m_hWnd;
    const HWND edit = GetDlgItem(host->m_hWnd, 3);
    SetFocus(edit);
    button.SetTimer(5, 10);
    PostMessage(gone, WM_USER + 1);
    ASSERT_TRUE(button.DestroyWindow());
    EXPECT_EQ(button.messages.back(), WM_NCDESTROY);
    EXPECT_EQ(button.m_hWnd, nullptr);
    EXPECT_EQ(button.postNcDestroyCalls, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(gone), nullptr);
    EXPECT_EQ(CWnd::FromHandle(gone), nullptr);
    const std::size_t seen = button.messages.size();
    AdvanceClock(100);  // neither the posted message nor the timer finds anyone
    EXPECT_EQ(button.messages.size(), seen);
    // The object may be bound to another window now.
    ASSERT_TRUE(button.SubclassWindow(edit));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), &button);
    button.UnsubclassWindow();

    EXPECT_FALSE(IsWindow(gone));
    EXPECT_EQ(GetClassName(gone), L"");
    EXPECT_EQ(GetWindowKind(gone), WindowKind::Window);
    EXPECT_EQ(GetParent(gone), nullptr);
    EXPECT_EQ(GetWindow(gone, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetDlgCtrlID(gone), 0);
    EXPECT_EQ(GetWindowLong(gone, GWL_STYLE), 0);
    EXPECT_FALSE(IsWindowVisible(gone));
    EXPECT_FALSE(IsWindowEnabled(gone));
    EXPECT_FALSE(EnableWindow(gone, true));
    RECT r{1, 2, 3, 4};
    EXPECT_FALSE(GetWindowRect(gone, &r));
    EXPECT_FALSE(GetClientRect(gone, &r));
    EXPECT_FALSE(MoveWindow(gone, 0, 0, 5, 5));
    EXPECT_FALSE(PostMessage(gone, WM_USER));
    EXPECT_EQ(CallDefaultProc(gone, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_FALSE(KillTimer(gone, 5));
    EXPECT_EQ(SetParent(gone, host->m_hWnd), nullptr);
    EXPECT_EQ(SetFocus(gone), nullptr);
    EXPECT_EQ(GetFocus(), edit);  // the refused focus stays where it was
    EXPECT_FALSE(IsDialogEnded(gone));
    EXPECT_FALSE(EndDialog(gone, 1));
    EXPECT_EQ(input::Click(gone), Result::NoWindow);
    EXPECT_EQ(input::PressKey(gone, Key::Enter), Result::NoWindow);
}

// --- real controls ---------------------------------------------------------------------

enum : int { kEdit = 10, kList = 20, kSlider = 40, kSpin = 50, kPush = 61, kTab = 70 };

class Win32Controls : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        const DWORD stop = kVisibleChild | WS_TABSTOP;
        dlg = Open(Template(
            920, 300, 200, kTopDialog,
            {Item(WC_EDIT, kEdit, 5, 5, 60, 12, stop | WS_BORDER | ES_AUTOHSCROLL),
             Item(WC_LISTBOX, kList, 5, 20, 80, 40, stop | WS_BORDER | LBS_NOTIFY),
             Item(TRACKBAR_CLASS, kSlider, 5, 65, 116, 13, stop | TBS_NOTICKS),
             Item(UPDOWN_CLASS, kSpin, 150, 65, 10, 14, kVisibleChild | UDS_ARROWKEYS),
             Item(WC_BUTTON, kPush, 5, 100, 40, 14, stop | BS_PUSHBUTTON | BS_NOTIFY, L"Step"),
             Item(WC_TABCONTROL, kTab, 0, 120, 232, 70, stop)}));
        SetFocus(nullptr);
        dlg->Take();
    }
    HWND Ctl(int id) { return GetDlgItem(dlg->m_hWnd, id); }
    std::unique_ptr<LoggingDialog> dlg;
};

// Every notification a real control sends, read through the portable structures: the header
// names its sender, and the fields after it hold what the control meant.
TEST_F(Win32Controls, NotificationsReadThroughThePortableStructures) {
    CTabCtrl tab;
    ASSERT_TRUE(tab.SubclassDlgItem(kTab, dlg.get()));
    tab.InsertItem(TCIF_TEXT | TCIF_PARAM, 0, L"One", 0, 11);
    tab.InsertItem(TCIF_TEXT | TCIF_PARAM, 1, L"Two", 0, 12);
    tab.UnsubclassWindow();
    SendMessage(Ctl(kSpin), UDM_SETRANGE32, 0, 10);
    SendMessage(Ctl(kSpin), UDM_SETPOS32, 0, 4);
    dlg->Take();
    Log fields;
    int wrongSender = 0;
    dlg->onMessage = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND && lParam &&
            reinterpret_cast<HWND>(lParam) != Ctl(static_cast<std::int16_t>(LOWORD(wParam))))
            ++wrongSender;
        if ((message == WM_HSCROLL || message == WM_VSCROLL) &&
            reinterpret_cast<HWND>(lParam) != Ctl(kSlider) &&
            reinterpret_cast<HWND>(lParam) != Ctl(kSpin))
            ++wrongSender;
        if (message != WM_NOTIFY) return;
        const auto& hdr = *reinterpret_cast<const NMHDR*>(lParam);
        if (hdr.code == NM_CUSTOMDRAW) return;
        if (hdr.hwndFrom != Ctl(static_cast<int>(hdr.idFrom)) || wParam != hdr.idFrom)
            ++wrongSender;
        if (hdr.code == TCN_KEYDOWN) {
            const auto& key = reinterpret_cast<const NMTCKEYDOWN&>(hdr);
            // flags is the key message's lParam: a repeat count of one, the key's scan code.
            fields.push_back("key " + std::to_string(key.wVKey) + " repeat " +
                             std::to_string(LOWORD(key.flags)) +
                             (HIWORD(key.flags) ? " scan" : ""));
        }
        if (hdr.code == UDN_DELTAPOS) {
            const auto& step = reinterpret_cast<const NMUPDOWN&>(hdr);
            fields.push_back("step " + std::to_string(step.iPos) + " " +
                             std::to_string(step.iDelta));
        }
    };
    ASSERT_EQ(PressKey(Ctl(kTab), Key::Right), Result::Ok);
    EXPECT_EQ(dlg->Take(), (Log{"TCN_KEYDOWN 70", "TCN_SELCHANGING 70", "TCN_SELCHANGE 70"}));
    ClickTab(Ctl(kTab), 0);
    PressSpin(Ctl(kSpin), Arrow::Down);
    DragSlider(Ctl(kSlider), 60);
    SelectRow(Ctl(kList), 0);  // empty: refused
    SendMessage(Ctl(kList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"row"));
    SelectRow(Ctl(kList), 0);
    TypeText(Ctl(kEdit), L"7");
    EXPECT_EQ(fields, (Log{"key " + std::to_string(VK_RIGHT) + " repeat 1 scan", "step 4 -1"}));
    EXPECT_EQ(wrongSender, 0);
    EXPECT_GT(dlg->Take().size(), 10u);
}

// The portable MSG goes to the platform's dialog manager as it stands.
TEST_F(Win32Controls, TheDialogManagerReadsThePortableMessage) {
    dlg->endOnOkCancel = false;
    MoveFocus(Ctl(kEdit));
    dlg->Take();
    MSG escape;
    escape.hwnd = Ctl(kEdit);
    escape.message = WM_KEYDOWN;
    escape.wParam = VK_ESCAPE;
    escape.lParam = 1;
    EXPECT_TRUE(IsDialogMessage(dlg->m_hWnd, &escape));
    PumpMessages();
    EXPECT_EQ(dlg->Take(), (Log{"WM_COMMAND 2", "OnCancel"}));
    MSG tab = escape;
    tab.wParam = VK_TAB;
    EXPECT_TRUE(IsDialogMessage(dlg->m_hWnd, &tab));
    PumpMessages();
    EXPECT_EQ(GetFocus(), Ctl(kList));
    auto other = Open(Template(921, 50, 30, kTopDialog, {}));
    EXPECT_FALSE(IsDialogMessage(other->m_hWnd, &tab));  // not one of its windows
    EXPECT_FALSE(IsDialogMessage(dlg->m_hWnd, nullptr));
}

TEST_F(Win32Controls, AHeldButtonHasTheMouseUntilLetGo) {
    const HWND push = Ctl(kPush);
    ASSERT_EQ(PressButton(push), Result::Ok);
    EXPECT_EQ(GetCapture(), push);
    EXPECT_EQ(GetFocus(), push);
    EXPECT_TRUE(SendMessage(push, BM_GETSTATE) & BST_PUSHED);
    AdvanceClock(800);
    EXPECT_EQ(dlg->Take(), (Log{"BN_SETFOCUS 61"}));  // BS_NOTIFY reports the focus
    ASSERT_EQ(ReleaseButton(push), Result::Ok);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(dlg->Take(), (Log{"BN_CLICKED 61"}));

    // Hidden while held: the button lets the mouse go at once and never reports the click;
    // the dialog hands the focus to its first tab stop.
    PressButton(push);
    ShowWindow(push, SW_HIDE);
    EXPECT_NE(GetCapture(), push);
    EXPECT_FALSE(SendMessage(push, BM_GETSTATE) & BST_PUSHED);
    EXPECT_EQ(ReleaseButton(push), Result::Ok);
    EXPECT_EQ(dlg->Take(), (Log{"BN_KILLFOCUS 61", "EN_SETFOCUS 10"}));
}

// --- the framework's timers beside the controls' own --------------------------------------

using Win32Timers = Win32Controls;

TEST_F(Win32Timers, ThePumpCountsOnlyTheFrameworksWork) {
    // A focused edit blinks its caret on a timer of the platform's own.
    MoveFocus(Ctl(kEdit));
    PumpMessages();
    dlg->Take();
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    EXPECT_EQ(PumpMessages(), 0u);
    dlg->SetTimer(3, 50);
    dlg->PostMessage(WM_USER + 2, 9);
    AdvanceClock(50);
    EXPECT_EQ(dlg->Take(), (Log{"WM_USER+2 9", "WM_TIMER 3"}));
    dlg->KillTimer(3);
}

}  // namespace
}  // namespace uitest
