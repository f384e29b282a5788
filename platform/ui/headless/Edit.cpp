// Edit control behaviour: text, selection and caret, typing, clipboard keys and the EN_*
// notifications.
#include <algorithm>

#include "Internal.h"

namespace ui::headless {
namespace {

struct EditState : ExtraState {
    std::size_t anchor = 0;  // the selection runs from the anchor to the caret
    std::size_t caret = 0;
    bool modified = false;
    UINT limit = 32767;  // how much a person may type
};

bool Multiline(const Window& w) {
    return (w.style & ES_MULTILINE) != 0;
}

std::pair<std::size_t, std::size_t> Selection(Window& w) {
    auto& s = w.State<EditState>();
    const std::size_t len = w.text.size();
    const std::size_t a = std::min(s.anchor, len), c = std::min(s.caret, len);
    return {std::min(a, c), std::max(a, c)};
}

// Replaces the selection with `text` and puts the caret after it. `userLimit` applies the
// typing limit (EN_MAXTEXT when text had to be cut); `notify` raises EN_UPDATE and EN_CHANGE.
void ReplaceSelection(Window& w, std::wstring text, bool notify, bool userLimit) {
    auto& s = w.State<EditState>();
    if (!Multiline(w)) {
        const std::size_t eol = text.find_first_of(L"\r\n");
        if (eol != std::wstring::npos) text.resize(eol);
    }
    const auto [lo, hi] = Selection(w);
    bool cut = false;
    if (userLimit) {
        const std::size_t kept = w.text.size() - (hi - lo);
        const std::size_t room = s.limit > kept ? s.limit - kept : 0;
        if (text.size() > room) {
            text.resize(room);
            cut = true;
        }
    }
    if (text.empty() && lo == hi) {
        if (cut) NotifyCommand(w, EN_MAXTEXT);
        return;
    }
    w.text.replace(lo, hi - lo, text);
    s.anchor = s.caret = lo + text.size();
    s.modified = true;
    if (notify) {
        const HWND self = w.handle;
        NotifyCommand(w, EN_UPDATE);
        if (Find(self)) NotifyCommand(w, EN_CHANGE);
        if (cut && Find(self)) NotifyCommand(w, EN_MAXTEXT);
    }
}

void TypeCharacter(Window& w, wchar_t c) {
    auto& s = w.State<EditState>();
    const bool readOnly = (w.style & ES_READONLY) != 0;
    switch (c) {
        case 0x03:  // Ctrl+C
            Deliver(w.handle, WM_COPY, 0, 0);
            return;
        case 0x16:  // Ctrl+V
            if (!readOnly) Deliver(w.handle, WM_PASTE, 0, 0);
            return;
        case 0x18:  // Ctrl+X
            if (!readOnly) Deliver(w.handle, WM_CUT, 0, 0);
            return;
        case 0x01:  // Ctrl+A
            s.anchor = 0;
            s.caret = w.text.size();
            return;
        case VK_BACK: {
            if (readOnly) return;
            const auto [lo, hi] = Selection(w);
            if (lo == hi) {
                if (lo == 0) return;
                s.anchor = lo - 1;
                s.caret = lo;
            }
            ReplaceSelection(w, L"", true, false);
            return;
        }
        case L'\r':
        case L'\n':
            if (Multiline(w) && !readOnly) ReplaceSelection(w, L"\r\n", true, true);
            return;
        case L'\t':
            if (Multiline(w) && !readOnly) ReplaceSelection(w, L"\t", true, true);
            return;
        default:
            break;
    }
    if (readOnly || c < 0x20 || c == 0x7F) return;
    // ES_NUMBER refuses anything but digits from the keyboard, without a notification.
    if ((w.style & ES_NUMBER) && !(c >= L'0' && c <= L'9')) return;
    const auto [lo, hi] = Selection(w);
    if (w.text.size() - (hi - lo) + 1 > s.limit) {
        // The refused key still counts as an edit: the change notifications follow.
        const HWND self = w.handle;
        NotifyCommand(w, EN_MAXTEXT);
        if (Find(self)) NotifyCommand(w, EN_UPDATE);
        if (Find(self)) NotifyCommand(w, EN_CHANGE);
        return;
    }
    ReplaceSelection(w, std::wstring(1, c), true, true);
}

void KeyDown(Window& w, UINT key) {
    auto& s = w.State<EditState>();
    const auto [lo, hi] = Selection(w);
    switch (key) {
        case VK_DELETE:
            if (w.style & ES_READONLY) return;
            if (lo == hi) {
                if (hi >= w.text.size()) return;
                s.anchor = lo;
                s.caret = lo + 1;
            }
            ReplaceSelection(w, L"", true, false);
            return;
        case VK_HOME:
            s.anchor = s.caret = 0;
            return;
        case VK_END:
            s.anchor = s.caret = w.text.size();
            return;
        case VK_LEFT:
            s.anchor = s.caret = (lo != hi) ? lo : (lo > 0 ? lo - 1 : 0);
            return;
        case VK_RIGHT:
            s.anchor = s.caret = (lo != hi) ? hi : std::min(hi + 1, w.text.size());
            return;
        default:
            return;
    }
}

}  // namespace

std::unique_ptr<ExtraState> MakeEditState() {
    return std::make_unique<EditState>();
}

LRESULT EditProc(Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& s = w.State<EditState>();
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS |
                   (Multiline(w) ? DLGC_WANTALLKEYS : 0);
        case WM_SETTEXT:
            w.text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
            s.anchor = s.caret = 0;
            s.modified = false;
            // Setting the text raises the notifications at once (not for multi-line edits).
            if (!Multiline(w)) {
                const HWND self = w.handle;
                NotifyCommand(w, EN_UPDATE);
                if (Find(self)) NotifyCommand(w, EN_CHANGE);
            }
            return 1;
        case WM_CHAR:
            TypeCharacter(w, static_cast<wchar_t>(wParam));
            return 0;
        case WM_KEYDOWN:
            KeyDown(w, static_cast<UINT>(wParam));
            return 0;
        case WM_PASTE:
            if (!(w.style & ES_READONLY)) ReplaceSelection(w, GetClipboardText(), true, true);
            return 0;
        case WM_COPY: {
            const auto [lo, hi] = Selection(w);
            if (lo != hi) SetClipboardText(w.text.substr(lo, hi - lo));
            return 0;
        }
        case WM_CUT:
        case WM_CLEAR: {
            const auto [lo, hi] = Selection(w);
            if (lo == hi || (w.style & ES_READONLY)) return 0;
            if (message == WM_CUT) SetClipboardText(w.text.substr(lo, hi - lo));
            ReplaceSelection(w, L"", true, false);
            return 0;
        }
        case WM_UNDO:
        case EM_UNDO:
        case EM_CANUNDO:
            return 0;
        case EM_GETSEL: {
            const auto [lo, hi] = Selection(w);
            if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(lo);
            if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(hi);
            if (lo > 0xFFFF || hi > 0xFFFF) return -1;
            return MAKELONG(static_cast<WORD>(lo), static_cast<WORD>(hi));
        }
        case EM_SETSEL: {
            const int start = static_cast<int>(wParam);
            const int end = static_cast<int>(lParam);
            const std::size_t len = w.text.size();
            if (start == -1) {
                s.anchor = s.caret;  // removes the selection, leaves the caret
                return 0;
            }
            s.anchor =
                start < 0 ? len : std::min<std::size_t>(static_cast<std::size_t>(start), len);
            s.caret = end < 0 ? len : std::min<std::size_t>(static_cast<std::size_t>(end), len);
            return 0;
        }
        case EM_REPLACESEL:
            ReplaceSelection(w, lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"", true,
                             true);
            return 0;
        case EM_SCROLLCARET:
            return 1;
        case EM_GETMODIFY:
            return s.modified ? 1 : 0;
        case EM_SETMODIFY:
            s.modified = wParam != 0;
            return 0;
        case EM_LIMITTEXT:
            s.limit = wParam ? static_cast<UINT>(wParam) : 0x7FFFFFFEu;
            return 0;
        case EM_GETLIMITTEXT:
            return s.limit;
        case EM_SETREADONLY:
            if (wParam)
                w.style |= ES_READONLY;
            else
                w.style &= ~ES_READONLY;
            return 1;
        case EM_GETLINECOUNT:
            return Multiline(w) ? 1 + std::count(w.text.begin(), w.text.end(), L'\n') : 1;
        case WM_SETFOCUS:
            NotifyCommand(w, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            NotifyCommand(w, EN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(w.handle);
            if (Find(w.handle)) s.anchor = s.caret = w.text.size();
            return 0;
        default:
            return DefWindowProcImpl(w, message, wParam, lParam);
    }
}

}  // namespace ui::headless
