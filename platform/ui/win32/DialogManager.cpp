// Dialogs on the platform's dialog manager: an in-memory extended dialog template built from
// the framework's template, modeless creation with the window object bound from the first
// message, tab and group order, keyboard handling and ending a modeless dialog.
#include "DialogTemplateEx.h"
#include "Win32.h"

namespace ui::win32 {
namespace {

// The extended template in memory: WORD-packed, every item starting on a DWORD boundary
// (the vector's storage itself is aligned for DWORDs).
class TemplateWriter {
public:
    void Word(WORD v) { m_words.push_back(v); }
    void Dword(DWORD v) {
        Word(LOWORD(v));
        Word(HIWORD(v));
    }
    void Short(int v) { Word(static_cast<WORD>(static_cast<std::int16_t>(v))); }
    void Text(const std::wstring& text) {
        for (wchar_t c : text) Word(static_cast<WORD>(c));
        Word(0);
    }
    void AlignDword() {
        if (m_words.size() % 2) Word(0);
    }
    std::vector<WORD> Take() { return std::move(m_words); }

private:
    std::vector<WORD> m_words;
};

// The procedure of the dialogs made here leaves every message to the dialog manager; a bound
// window object sees the messages first, through the window procedure.
INT_PTR CALLBACK NoDialogProc(::HWND, ::UINT, ::WPARAM, ::LPARAM) {
    return FALSE;
}

// a * b / c rounded half away from zero, as the platform's MulDiv.
int MulDivRound(int a, int b, int c) {
    const long long n = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(n >= 0 ? (n + half) / c : (n - half) / c);
}

}  // namespace

std::vector<WORD> BuildDialogTemplateEx(const DialogTemplate& t) {
    TemplateWriter out;
    out.Word(1);       // version
    out.Word(0xFFFF);  // signature of the extended form
    out.Dword(0);      // help id
    out.Dword(t.exStyle);
    out.Dword(t.style | DS_SETFONT);
    out.Word(static_cast<WORD>(t.items.size()));
    out.Short(t.x);
    out.Short(t.y);
    out.Short(t.cx);
    out.Short(t.cy);
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(t.caption);
    out.Word(static_cast<WORD>(t.fontPointSize > 0 ? t.fontPointSize : 8));
    out.Word(FW_NORMAL);
    out.Word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, character set
    out.Text(t.fontName.empty() ? L"MS Shell Dlg" : t.fontName);
    for (const DialogItemTemplate& item : t.items) {
        out.AlignDword();
        out.Dword(0);  // help id
        out.Dword(item.exStyle);
        out.Dword(item.style | WS_CHILD);
        out.Short(item.x);
        out.Short(item.y);
        out.Short(item.cx);
        out.Short(item.cy);
        out.Dword(static_cast<DWORD>(item.id));  // IDC_STATIC stays -1 in the 32-bit id
        out.Text(item.className);
        out.Text(item.text);
        out.Word(0);  // no creation data
    }
    return out.Take();
}

}  // namespace ui::win32

namespace ui {

using win32::U;
using win32::W;

SIZE DialogBaseUnits(int pointSize) {
    if (pointSize <= 0) pointSize = 8;
    // Measured as the dialog manager measures the template's font: the rounded average width
    // of the letters and the character height. Metrics do not scale exactly with the size.
    const SIZE scaled{win32::MulDivRound(6, pointSize, 8), win32::MulDivRound(13, pointSize, 8)};
    const HDC screen = ::GetDC(nullptr);
    if (!screen) return scaled;
    const int pixels = ::MulDiv(pointSize, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    const HFONT font =
        ::CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                      PROOF_QUALITY, FF_DONTCARE, L"MS Shell Dlg");
    SIZE base = scaled;
    if (font) {
        const HGDIOBJ old = ::SelectObject(screen, font);
        static constexpr wchar_t kLetters[] =
            L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        ::SIZE extent{};
        TEXTMETRICW metrics{};
        if (::GetTextExtentPoint32W(screen, kLetters, 52, &extent) &&
            ::GetTextMetricsW(screen, &metrics) && extent.cx > 0)
            base = SIZE{(extent.cx / 26 + 1) / 2, metrics.tmHeight};
        ::SelectObject(screen, old);
        ::DeleteObject(font);
    }
    ::ReleaseDC(nullptr, screen);
    return base;
}

bool MapDialogRect(HWND dialog, RECT* rect) {
    if (!rect || !win32::IsDialogWindow(dialog)) return false;
    return ::MapDialogRect(W(dialog), reinterpret_cast<::RECT*>(rect));
}

HWND CreateDialogIndirect(const DialogTemplate& t, HWND parent, CWnd* object, LPARAM initParam) {
    if (parent && !::IsWindow(W(parent))) return nullptr;
    // The dialog manager fails the whole dialog for a class nobody registered; the framework
    // makes a plain window of any class it does not know.
    for (const DialogItemTemplate& item : t.items)
        if (!item.className.empty()) win32::EnsurePlainClass(item.className.c_str());
    const std::vector<WORD> words = win32::BuildDialogTemplateEx(t);
    const HWND realParent =
        parent ? parent : ((t.style & WS_CHILD) ? win32::ParkingWindow() : nullptr);
    ::HWND dialog = nullptr;
    {
        win32::CreationScope scope(object, realParent);
        dialog = ::CreateDialogIndirectParamW(win32::Instance(),
                                              reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                                              W(realParent), win32::NoDialogProc, initParam);
    }
    return dialog && ::IsWindow(dialog) ? U(dialog) : nullptr;
}

HWND CreateDialogFromTemplate(UINT id, HWND parent, CWnd* object, LPARAM initParam) {
    const auto t = FindDialogTemplate(id);
    return t ? CreateDialogIndirect(*t, parent, object, initParam) : nullptr;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, bool previous) {
    if (!::IsWindow(W(dialog))) return nullptr;
    return U(::GetNextDlgTabItem(W(dialog), W(control), previous));
}

bool IsDialogMessage(HWND dialog, MSG* msg) {
    if (!msg || !::IsWindow(W(dialog))) return false;
    return ::IsDialogMessageW(W(dialog), reinterpret_cast<::MSG*>(msg));
}

bool EndDialog(HWND dialog, int result) {
    if (!win32::IsDialogWindow(dialog)) return false;
    win32::MarkEnded(dialog, result);
    return ::EndDialog(W(dialog), result);
}

bool IsDialogEnded(HWND dialog, int* result) {
    if (!win32::IsDialogWindow(dialog)) return false;
    return win32::EndedResult(dialog, result);
}

}  // namespace ui
