// The five dialog templates control by control, and the six registered message names, as the
// host's resource files and the other modules of the host know them.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "AmbrelControlDlg.h"
#include "PFASettingsPage.h"
#include "PFAdjustmentPage.h"
#include "PFCommandPage.h"
#include "PFExposurePage.h"
#include "RegisteredMessages.h"
#include "ui/Template.h"
#include "ui/Window.h"

namespace {

using namespace ui;

// One control as text, so that a difference names the control and what differs. WS_CHILD is
// implied for every control.
std::string Describe(const DialogItemTemplate& c) {
    std::ostringstream out;
    out << std::string(c.className.begin(), c.className.end()) << " " << c.id << " \""
        << std::string(c.text.begin(), c.text.end()) << "\" at " << c.x << "," << c.y << " size "
        << c.cx << "x" << c.cy << " style 0x" << std::hex << (c.style | WS_CHILD) << " ex 0x"
        << c.exStyle;
    return out.str();
}

std::vector<std::string> Describe(const std::vector<DialogItemTemplate>& items) {
    std::vector<std::string> lines;
    for (const DialogItemTemplate& item : items) lines.push_back(Describe(item));
    return lines;
}

struct Frame {
    UINT id;
    int cx, cy;
    DWORD style;
};

void ExpectTemplate(const DialogTemplate& actual, const Frame& frame,
                    const std::vector<DialogItemTemplate>& controls) {
    EXPECT_EQ(actual.id, frame.id);
    EXPECT_EQ(actual.cx, frame.cx);
    EXPECT_EQ(actual.cy, frame.cy);
    EXPECT_EQ(actual.style, frame.style);
    EXPECT_EQ(actual.caption, L"");
    EXPECT_EQ(actual.fontName, L"MS Shell Dlg");
    EXPECT_EQ(actual.fontPointSize, 8);
    EXPECT_EQ(Describe(actual.items), Describe(controls));
}

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kPage = WS_CHILD | DS_SETFONT | DS_FIXEDSYS;  // hidden until its tab shows it
constexpr DWORD kLeft = kShown | SS_LEFT;
constexpr DWORD kRight = kShown | SS_RIGHT;
constexpr DWORD kPush = kShown | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kSlider = kShown | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS;
constexpr DWORD kDigits = kShown | WS_TABSTOP | ES_NUMBER | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kCheck = kShown | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kSpin = kShown | UDS_ARROWKEYS;
constexpr DWORD kDropList = kShown | WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL;

TEST(DialogTemplates, ControlDialog) {
    ExpectTemplate(
        ControlDialogTemplate(),
        {16311, 233, 100, WS_CHILD | WS_CLIPSIBLINGS | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS},
        {{WC_TABCONTROL, 16313, L"", 0, 2, 232, 98, kShown, 0}});
}

TEST(DialogTemplates, SettingsPage) {
    constexpr DWORD kList =
        kShown | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    ExpectTemplate(SettingsPageTemplate(), {16312, 232, 82, kPage},
                   {{WC_LISTBOX, 16315, L"", 97, 11, 130, 69, kList, 0},
                    {WC_LISTBOX, 16316, L"", 1, 11, 89, 69, kList, 0},
                    {WC_STATIC, IDC_STATIC, L"Feature:", 8, 1, 29, 8, kLeft, 0},
                    {WC_STATIC, IDC_STATIC, L"Values", 100, 1, 22, 8, kLeft, 0}});
}

TEST(DialogTemplates, AdjustmentPage) {
    ExpectTemplate(
        AdjustmentPageTemplate(), {16314, 227, 84, kPage},
        {{WC_LISTBOX, 16300, L"", 2, 11, 70, 67,
          kShown | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY, 0},
         {TRACKBAR_CLASS, 16301, L"", 72, 14, 153, 15, kSlider, 0},
         {WC_EDIT, 16310, L"", 114, 45, 71, 14, kShown | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
          0},
         {WC_BUTTON, 16303, L"<<", 78, 45, 16, 14, kPush, 0},
         {WC_BUTTON, 16302, L"<", 94, 45, 15, 14, kPush, 0},
         {WC_BUTTON, 16304, L">", 188, 45, 15, 14, kPush, 0},
         {WC_BUTTON, 16305, L">>", 204, 45, 15, 14, kPush, 0},
         {WC_BUTTON, 16306, L"Automatic", 104, 61, 48, 15,
          WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE, 0},
         {WC_BUTTON, 16307, L"One Shot", 153, 61, 46, 14, WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0},
         {WC_STATIC, 16308, L"0", 82, 31, 55, 8, kLeft, 0},
         {WC_STATIC, 16309, L"0", 172, 29, 51, 8, kRight, 0},
         {WC_BUTTON, IDC_STATIC, L"Adjustments", 0, 1, 227, 80, kShown | BS_GROUPBOX, 0}});
}

TEST(DialogTemplates, ImagePage) {
    ExpectTemplate(ImagePageTemplate(), {16317, 230, 65, kPage | DS_CONTROL},
                   {{WC_BUTTON, IDC_STATIC, L"", 2, 20, 223, 45, kShown | BS_GROUPBOX, 0},
                    {WC_STATIC, 16337, L"Size X ", 6, 32, 22, 8, kLeft, 0},
                    {WC_EDIT, 16321, L"", 31, 30, 48, 14, kDigits, 0},
                    {UPDOWN_CLASS, 16326, L"", 79, 30, 10, 14, kSpin, 0},
                    {WC_STATIC, 16338, L"Size Y", 95, 34, 20, 8, kLeft, 0},
                    {WC_EDIT, 16322, L"", 129, 31, 48, 14, kDigits, 0},
                    {UPDOWN_CLASS, 16327, L"", 178, 31, 10, 14, kSpin, 0},
                    {WC_COMBOBOX, 16318, L"", 127, 48, 61, 30, kDropList, 0},
                    {WC_BUTTON, 16331, L"Apply", 190, 30, 33, 32, kPush, 0},
                    {WC_STATIC, 16339, L"Decimation Y", 6, 49, 42, 8, kLeft, 0},
                    {WC_COMBOBOX, 16335, L"", 50, 47, 39, 30, kDropList, 0},
                    {WC_STATIC, IDC_STATIC, L"Offset X ", 8, 8, 30, 8, kLeft, 0},
                    {WC_EDIT, 16323, L"", 42, 7, 48, 14, kDigits, 0},
                    {UPDOWN_CLASS, 16328, L"", 90, 7, 10, 14, kSpin, 0},
                    {WC_STATIC, IDC_STATIC, L"Offset Y", 128, 8, 28, 8, kLeft, 0},
                    {WC_EDIT, 16324, L"", 160, 6, 48, 14, kDigits, 0},
                    {UPDOWN_CLASS, 16329, L"", 209, 6, 10, 14, kSpin, 0},
                    {WC_STATIC, 16340, L"Command", 93, 50, 32, 8, kLeft, 0}});
}

TEST(DialogTemplates, ExposurePage) {
    ExpectTemplate(ExposurePageTemplate(), {16319, 231, 86, kPage},
                   {{WC_STATIC, IDC_STATIC, L"Exposure time[ms]", 7, 9, 60, 8, kLeft, 0},
                    {TRACKBAR_CLASS, 16328, L"", 70, 8, 116, 13, kSlider, 0},
                    {WC_EDIT, 16329, L"", 187, 7, 37, 14, kDigits, 0},
                    {WC_BUTTON, 16330, L"Constant Frame Rate", 7, 32, 85, 10, kCheck, 0},
                    {WC_STATIC, IDC_STATIC, L"Frame time[ms]", 9, 45, 50, 8, kLeft, 0},
                    {TRACKBAR_CLASS, 16331, L"", 70, 43, 114, 13, kSlider, 0},
                    {WC_EDIT, 16332, L"", 187, 41, 38, 14, kDigits, 0},
                    {WC_STATIC, 16333, L"0", 73, 22, 52, 8, kLeft, 0},
                    {WC_STATIC, 16334, L"0", 137, 22, 45, 8, kRight, 0},
                    {WC_STATIC, 16335, L"0", 74, 58, 52, 8, kLeft, 0},
                    {WC_STATIC, 16336, L"0", 138, 57, 45, 8, kRight, 0},
                    {WC_BUTTON, 16337, L"Simultaneous Readout", 8, 70, 87, 10, kCheck, 0}});
}

TEST(RegisteredMessages, SixNamesSpelledAsTheHostKnowsThemAndDistinct) {
    const std::vector<std::pair<UINT, const wchar_t*>> messages = {
        {REPEAT_BUTTON_TRIGGER, L"AMBREL_CONTROL_REPEAT_BUTTON_TRIGGER"},
        {REFRESH_SLIDER, L"AMBREL_CONTROL_ADJUSTMENT_PROP_REFRESH_SLIDER"},
        {REFRESH_EDIT, L"AMBREL_CONTROL_ADJUSTMENT_PROP_REFRESH_EDIT"},
        {REFRESH_LIST, L"AMBREL_CONTROL_ADJUSTMENT_PROP_REFRESH_LIST"},
        {REFRESH_AUTOBUTTON, L"AMBREL_CONTROL_ADJUSTMENT_PROP_REFRESH_AUTOBUTTON"},
        {ONESHOT_MSG, L"AMBREL_CONTROL_ADJUSTMENT_PROP_ONESHOT_MSG"},
    };
    std::set<UINT> numbers;
    for (const auto& [number, name] : messages) {
        EXPECT_EQ(number, RegisterWindowMessage(name))
            << testing::PrintToString(std::wstring(name));
        numbers.insert(number);
    }
    EXPECT_EQ(numbers.size(), messages.size());
}

}  // namespace
