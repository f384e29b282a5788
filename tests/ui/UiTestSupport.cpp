// Readable names for the messages the tests follow, and the logging dialog.
#include "UiTestSupport.h"

namespace uitest {
namespace {

std::string CommandName(HWND control, WORD code) {
    struct Name {
        WindowKind kind;
        WORD code;
        const char* name;
    };
    static const Name names[] = {
        {WindowKind::Edit, EN_SETFOCUS, "EN_SETFOCUS"},
        {WindowKind::Edit, EN_KILLFOCUS, "EN_KILLFOCUS"},
        {WindowKind::Edit, EN_CHANGE, "EN_CHANGE"},
        {WindowKind::Edit, EN_UPDATE, "EN_UPDATE"},
        {WindowKind::Edit, EN_MAXTEXT, "EN_MAXTEXT"},
        {WindowKind::ListBox, LBN_SELCHANGE, "LBN_SELCHANGE"},
        {WindowKind::ListBox, LBN_SETFOCUS, "LBN_SETFOCUS"},
        {WindowKind::ListBox, LBN_KILLFOCUS, "LBN_KILLFOCUS"},
        {WindowKind::ComboBox, CBN_SELCHANGE, "CBN_SELCHANGE"},
        {WindowKind::ComboBox, CBN_SETFOCUS, "CBN_SETFOCUS"},
        {WindowKind::ComboBox, CBN_KILLFOCUS, "CBN_KILLFOCUS"},
        {WindowKind::ComboBox, CBN_DROPDOWN, "CBN_DROPDOWN"},
        {WindowKind::ComboBox, CBN_CLOSEUP, "CBN_CLOSEUP"},
        {WindowKind::ComboBox, CBN_SELENDOK, "CBN_SELENDOK"},
        {WindowKind::ComboBox, CBN_SELENDCANCEL, "CBN_SELENDCANCEL"},
        {WindowKind::Static, STN_CLICKED, "STN_CLICKED"},
        {WindowKind::PushButton, BN_CLICKED, "BN_CLICKED"},
        {WindowKind::PushButton, BN_SETFOCUS, "BN_SETFOCUS"},
        {WindowKind::PushButton, BN_KILLFOCUS, "BN_KILLFOCUS"},
    };
    WindowKind kind = GetWindowKind(control);
    if (kind == WindowKind::CheckBox || kind == WindowKind::RadioButton)
        kind = WindowKind::PushButton;
    for (const Name& n : names)
        if (n.kind == kind && n.code == code) return n.name;
    return "code" + std::to_string(code);
}

std::string NotifyName(UINT code) {
    if (code == UDN_DELTAPOS) return "UDN_DELTAPOS";
    if (code == TCN_SELCHANGING) return "TCN_SELCHANGING";
    if (code == TCN_SELCHANGE) return "TCN_SELCHANGE";
    if (code == TCN_KEYDOWN) return "TCN_KEYDOWN";
    if (code == NM_CLICK) return "NM_CLICK";
    if (code == NM_RELEASEDCAPTURE) return "NM_RELEASEDCAPTURE";
    if (code == NM_CUSTOMDRAW) return "NM_CUSTOMDRAW";
    return "notify" + std::to_string(static_cast<int>(code));
}

std::string ScrollName(WORD code, HWND from) {
    static const char* const scrollBar[] = {"SB_LINEUP",   "SB_LINEDOWN",      "SB_PAGEUP",
                                            "SB_PAGEDOWN", "SB_THUMBPOSITION", "SB_THUMBTRACK",
                                            "SB_TOP",      "SB_BOTTOM",        "SB_ENDSCROLL"};
    static const char* const slider[] = {"TB_LINEUP",   "TB_LINEDOWN",      "TB_PAGEUP",
                                         "TB_PAGEDOWN", "TB_THUMBPOSITION", "TB_THUMBTRACK",
                                         "TB_TOP",      "TB_BOTTOM",        "TB_ENDTRACK"};
    if (code >= 9) return std::to_string(code);
    return GetWindowKind(from) == WindowKind::Slider ? slider[code] : scrollBar[code];
}

}  // namespace

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::string Describe(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (!lParam) return "WM_COMMAND " + std::to_string(static_cast<int>(LOWORD(wParam)));
            return CommandName(reinterpret_cast<HWND>(lParam), HIWORD(wParam)) + " " +
                   std::to_string(static_cast<std::int16_t>(LOWORD(wParam)));
        case WM_NOTIFY: {
            const auto& hdr = *reinterpret_cast<const NMHDR*>(lParam);
            // Real controls ask about painting whenever they repaint, which no test follows.
            if (hdr.code == NM_CUSTOMDRAW) return {};
            std::string line =
                NotifyName(hdr.code) + " " + std::to_string(static_cast<int>(hdr.idFrom));
            if (hdr.code == UDN_DELTAPOS) {
                const auto& nm = reinterpret_cast<const NMUPDOWN&>(hdr);
                line += " pos=" + std::to_string(nm.iPos) + " delta=" + std::to_string(nm.iDelta);
            }
            return line;
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
            return std::string(message == WM_HSCROLL ? "WM_HSCROLL " : "WM_VSCROLL ") +
                   ScrollName(LOWORD(wParam), reinterpret_cast<HWND>(lParam)) + " " +
                   std::to_string(HIWORD(wParam)) + " " +
                   std::to_string(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
        case WM_TIMER:
            return "WM_TIMER " + std::to_string(wParam);
        default:
            if (message >= WM_USER && message < WM_APP)
                return "WM_USER+" + std::to_string(message - WM_USER) + " " +
                       std::to_string(wParam);
            if (message >= kRegisteredMessageFirst) return "REGISTERED " + std::to_string(wParam);
            return {};
    }
}

LRESULT LoggingDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Messages the dialog manager sends the dialog itself are not part of what it observes.
    if (message != DM_GETDEFID && message != DM_SETDEFID) {
        const std::string line = Describe(message, wParam, lParam);
        if (!line.empty()) log.push_back(line);
    }
    if (onMessage) onMessage(message, wParam, lParam);
    if (message == WM_NOTIFY && answerNotify) {
        const LRESULT answer = answerNotify(*reinterpret_cast<NMHDR*>(lParam));
        if (answer) return answer;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

bool LoggingDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    handled.push_back(Describe(WM_COMMAND, wParam, lParam));
    return CDialog::OnCommand(wParam, lParam);
}

bool LoggingDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    handled.push_back(Describe(WM_NOTIFY, wParam, lParam));
    return CDialog::OnNotify(wParam, lParam, result);
}

void LoggingDialog::OnOK() {
    log.push_back("OnOK");
    if (endOnOkCancel) CDialog::OnOK();
}

void LoggingDialog::OnCancel() {
    log.push_back("OnCancel");
    if (endOnOkCancel) CDialog::OnCancel();
}

DialogItemTemplate Item(const wchar_t* className, int id, int x, int y, int cx, int cy, DWORD style,
                        const wchar_t* text) {
    DialogItemTemplate item;
    item.className = className;
    item.id = id;
    item.text = text;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.style = style;
    return item;
}

DialogTemplate Template(UINT id, int cx, int cy, DWORD style,
                        std::vector<DialogItemTemplate> items) {
    DialogTemplate t;
    t.id = id;
    t.cx = cx;
    t.cy = cy;
    t.style = style;
    t.items = std::move(items);
    return t;
}

}  // namespace uitest
