// Up-down (spin) control behaviour: range and position (clamped), an arrow press asking the
// parent first (UDN_DELTAPOS) and then reporting the position (WM_VSCROLL / WM_HSCROLL), and
// the optional buddy window that shows the number.
#include <algorithm>
#include <cwchar>
#include <vector>

#include "Internal.h"

namespace ui::headless {
namespace {

struct UpDownState : ExtraState {
    int minimum = 100;  // the platform's default range runs from 100 down to 0
    int maximum = 0;
    int position = 0;
    int base = 10;
    std::vector<UDACCEL> accel{UDACCEL{0, 1}};
    HWND buddy = nullptr;
    bool pressed = false;
};

bool InBounds(const UpDownState& s, long long v) {
    return s.maximum > s.minimum ? (v >= s.minimum && v <= s.maximum)
                                 : (v >= s.maximum && v <= s.minimum);
}

int Clamp(const UpDownState& s, long long v) {
    if (InBounds(s, v)) return static_cast<int>(v);
    const bool belowLow = s.minimum < s.maximum ? v < s.minimum : v > s.minimum;
    return belowLow ? s.minimum : s.maximum;
}

bool HasBuddyInt(const Window& w, const UpDownState& s) {
    return (w.style & UDS_SETBUDDYINT) && Find(s.buddy);
}

// Reads the number the buddy shows into the position; false when there is none.
bool ReadBuddy(Window& w) {
    auto& s = w.State<UpDownState>();
    if (!HasBuddyInt(w, s)) return false;
    std::wstring text = GetWindowText(s.buddy);
    std::erase(text, L',');
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    const long v = std::wcstol(text.c_str(), &end, s.base);
    if (*end != L'\0' || !InBounds(s, v)) return false;
    s.position = static_cast<int>(v);
    return true;
}

void WriteBuddy(Window& w) {
    auto& s = w.State<UpDownState>();
    if (!HasBuddyInt(w, s)) return;
    wchar_t buffer[32];
    if (s.base == 16) {
        std::swprintf(buffer, 32, L"0x%04X", static_cast<unsigned>(s.position));
    } else {
        std::swprintf(buffer, 32, L"%d", s.position);
    }
    std::wstring text = buffer;
    if (s.base == 10 && !(w.style & UDS_NOTHOUSANDS)) {
        const std::size_t digitsFrom = text[0] == L'-' ? 1 : 0;
        for (long long at = static_cast<long long>(text.size()) - 3;
             at > static_cast<long long>(digitsFrom); at -= 3)
            text.insert(static_cast<std::size_t>(at), 1, L',');
    }
    if (!plat::EqualsAsciiNoCase(GetWindowText(s.buddy), text))
        SetWindowText(s.buddy, text.c_str());
}

int SetPos(Window& w, long long requested) {
    auto& s = w.State<UpDownState>();
    const int previous = Clamp(s, s.position);
    s.position = Clamp(s, requested);
    WriteBuddy(w);
    return previous;
}

// One arrow step: the parent is asked first with the old position and the step, and may
// refuse it or change the step; the result is reported whether or not anything moved.
void DoAction(Window& w, int step, bool increment) {
    auto& s = w.State<UpDownState>();
    int delta = step * (increment ? 1 : -1) * (s.maximum < s.minimum ? -1 : 1);
    NMUPDOWN nm;
    nm.hdr.code = UDN_DELTAPOS;
    nm.iPos = s.position;
    nm.iDelta = delta;
    const HWND self = w.handle;
    if (!NotifyParent(w, nm.hdr) && Find(self)) {
        delta = nm.iDelta;
        long long target = static_cast<long long>(s.position) + delta;
        if (!InBounds(s, target)) {
            if (w.style & UDS_WRAP) {
                target = (s.minimum < s.maximum) == (delta > 0) ? s.minimum : s.maximum;
            } else {
                target = Clamp(s, target);
            }
        }
        if (target != s.position) {
            s.position = static_cast<int>(target);
            WriteBuddy(w);
        }
    }
    if (!Find(self)) return;
    NotifyScroll(w, (w.style & UDS_HORZ) == 0, SB_THUMBPOSITION, s.position);
}

int FirstStep(const UpDownState& s) {
    return s.accel.empty() ? 1 : static_cast<int>(s.accel.front().nInc);
}

void CancelMode(Window& w) {
    auto& s = w.State<UpDownState>();
    s.pressed = false;
    if (GetCapture() == w.handle) ReleaseCapture();
}

}  // namespace

std::unique_ptr<ExtraState> MakeUpDownState() {
    return std::make_unique<UpDownState>();
}

LRESULT UpDownProc(Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& s = w.State<UpDownState>();
    switch (message) {
        case UDM_SETRANGE:
            s.maximum = static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam)));
            s.minimum = static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(lParam)));
            return 0;
        case UDM_GETRANGE:
            return MAKELONG(static_cast<WORD>(s.maximum), static_cast<WORD>(s.minimum));
        case UDM_SETRANGE32:
            s.minimum = static_cast<int>(wParam);
            s.maximum = static_cast<int>(lParam);
            return 0;
        case UDM_GETRANGE32:
            if (wParam) *reinterpret_cast<int*>(wParam) = s.minimum;
            if (lParam) *reinterpret_cast<int*>(lParam) = s.maximum;
            return 0;
        case UDM_SETPOS:
            return SetPos(w,
                          static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam))));
        case UDM_SETPOS32:
            return SetPos(w, static_cast<int>(lParam));
        case UDM_GETPOS:
        case UDM_GETPOS32: {
            // The error flag is set unless a buddy holds a number within the range.
            bool ok = ReadBuddy(w);
            if (!InBounds(s, s.position)) ok = false;
            const int value = Clamp(s, s.position);
            if (message == UDM_GETPOS) return MAKELONG(static_cast<WORD>(value), ok ? 0 : 1);
            if (lParam) *reinterpret_cast<int*>(lParam) = ok ? 0 : 1;
            return value;
        }
        case UDM_SETBUDDY: {
            const HWND old = s.buddy;
            s.buddy =
                Find(reinterpret_cast<HWND>(wParam)) ? reinterpret_cast<HWND>(wParam) : nullptr;
            return reinterpret_cast<LRESULT>(old);
        }
        case UDM_GETBUDDY:
            return reinterpret_cast<LRESULT>(Find(s.buddy) ? s.buddy : nullptr);
        case UDM_SETBASE: {
            if (wParam != 10 && wParam != 16) return 0;
            const int old = s.base;
            s.base = static_cast<int>(wParam);
            WriteBuddy(w);
            return old;
        }
        case UDM_GETBASE:
            return s.base;
        case UDM_SETACCEL:
            if (!lParam || wParam == 0) return 0;
            s.accel.assign(reinterpret_cast<const UDACCEL*>(lParam),
                           reinterpret_cast<const UDACCEL*>(lParam) + wParam);
            return 1;
        case UDM_GETACCEL: {
            if (!wParam || !lParam) return static_cast<LRESULT>(s.accel.size());
            const std::size_t n = std::min<std::size_t>(wParam, s.accel.size());
            std::copy_n(s.accel.begin(), n, reinterpret_cast<UDACCEL*>(lParam));
            return static_cast<LRESULT>(n);
        }
        case WM_LBUTTONDOWN: {
            const RECT r = ClientRectOf(w);
            const bool increment = (w.style & UDS_HORZ) ? GET_X_LPARAM(lParam) >= r.right / 2
                                                        : GET_Y_LPARAM(lParam) < r.bottom / 2;
            ReadBuddy(w);
            s.pressed = true;
            DoAction(w, FirstStep(s), increment);
            if (Find(w.handle)) SetCapture(w.handle);
            return 0;
        }
        case WM_LBUTTONUP:
            if (GetCapture() != w.handle) return 0;
            if (s.pressed) {
                NotifyScroll(w, (w.style & UDS_HORZ) == 0, SB_ENDSCROLL, s.position);
                if (!Find(w.handle)) return 0;
            }
            CancelMode(w);
            return 0;
        case WM_CANCELMODE:
            CancelMode(w);
            return 0;
        case WM_KEYDOWN:
            if ((w.style & UDS_ARROWKEYS) && (wParam == VK_UP || wParam == VK_DOWN)) {
                ReadBuddy(w);
                DoAction(w, FirstStep(s), wParam == VK_UP);
            }
            return 0;
        default:
            return DefWindowProcImpl(w, message, wParam, lParam);
    }
}

}  // namespace ui::headless
