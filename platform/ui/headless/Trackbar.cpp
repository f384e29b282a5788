// Trackbar (slider) behaviour: range and position from code (clamped, silent), thumb drags
// and arrow keys reported to the parent as WM_HSCROLL / WM_VSCROLL.
#include <algorithm>
#include <climits>
#include <optional>

#include "Internal.h"

namespace ui::headless {
namespace {

constexpr int kChannelInset = 8;  // half the thumb: where the channel starts and ends

struct TrackbarState : ExtraState {
    int minimum = 0;
    int maximum = 100;
    int position = 0;
    int lineSize = 1;
    int pageSize = 20;
    bool dragging = false;
    std::optional<int> dragTarget;  // where the hand drags the thumb to
};

bool Vertical(const Window& w) {
    return (w.style & TBS_VERT) != 0;
}

// A position brought into the range as the platform's trackbar does it: up to the minimum, then
// down to the maximum, so that a range whose minimum lies above its maximum gives the maximum.
int Clamped(const TrackbarState& s, int position) {
    if (position < s.minimum) position = s.minimum;
    if (position > s.maximum) position = s.maximum;
    return position;
}

void ResetPageSize(TrackbarState& s) {
    s.pageSize = std::max(1, static_cast<int>((static_cast<long long>(s.maximum) - s.minimum) / 5));
}

int Length(Window& w) {
    const RECT r = ClientRectOf(w);
    return std::max(1, (Vertical(w) ? r.bottom : r.right) - 2 * kChannelInset);
}

int PositionFromPoint(Window& w, LPARAM point) {
    auto& s = w.State<TrackbarState>();
    const int along = (Vertical(w) ? GET_Y_LPARAM(point) : GET_X_LPARAM(point)) - kChannelInset;
    const long long span = static_cast<long long>(s.maximum) - s.minimum;
    const long long p = s.minimum + (span * along + Length(w) / 2) / Length(w);
    return Clamped(s, static_cast<int>(std::clamp<long long>(p, INT_MIN, INT_MAX)));
}

void Notify(Window& w, WORD code, int position = 0) {
    NotifyScroll(w, Vertical(w), code, position);
}

// A key moves the thumb by a line or to an end; the position is reported as it stands.
void Step(Window& w, UINT key) {
    auto& s = w.State<TrackbarState>();
    int target = s.position;
    WORD code = 0;
    switch (key) {
        case VK_LEFT:
        case VK_UP:
            target = s.position - s.lineSize;
            code = TB_LINEUP;
            break;
        case VK_RIGHT:
        case VK_DOWN:
            target = s.position + s.lineSize;
            code = TB_LINEDOWN;
            break;
        case VK_HOME:
            target = s.minimum;
            code = TB_TOP;
            break;
        case VK_END:
            target = s.maximum;
            code = TB_BOTTOM;
            break;
        default:
            return;
    }
    target = Clamped(s, target);
    if (target == s.position) return;
    s.position = target;
    Notify(w, code);
}

}  // namespace

std::unique_ptr<ExtraState> MakeTrackbarState() {
    return std::make_unique<TrackbarState>();
}

void TrackbarSetDragTarget(Window& w, int position) {
    w.State<TrackbarState>().dragTarget = position;
}

int TrackbarPositionToX(Window& w, int position) {
    auto& s = w.State<TrackbarState>();
    const long long span = std::max<long long>(1, static_cast<long long>(s.maximum) - s.minimum);
    return kChannelInset +
           static_cast<int>((static_cast<long long>(position) - s.minimum) * Length(w) / span);
}

LRESULT TrackbarProc(Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& s = w.State<TrackbarState>();
    const int value = static_cast<int>(lParam);
    switch (message) {
        case TBM_GETPOS:
            return s.position;
        case TBM_GETRANGEMIN:
            return s.minimum;
        case TBM_GETRANGEMAX:
            return s.maximum;
        case TBM_SETPOS:
            s.position = Clamped(s, value);
            return 0;
        case TBM_SETRANGE:
            s.minimum = static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam)));
            s.maximum = static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(lParam)));
            s.position = Clamped(s, s.position);
            ResetPageSize(s);
            return 0;
        case TBM_SETRANGEMIN:
            s.minimum = value;
            if (s.position < s.minimum) s.position = s.minimum;
            ResetPageSize(s);
            return 0;
        case TBM_SETRANGEMAX:
            s.maximum = value;
            if (s.position > s.maximum) s.position = s.maximum;
            ResetPageSize(s);
            return 0;
        case TBM_GETLINESIZE:
            return s.lineSize;
        case TBM_SETLINESIZE: {
            const int old = s.lineSize;
            s.lineSize = value;
            return old;
        }
        case TBM_GETPAGESIZE:
            return s.pageSize;
        case TBM_SETPAGESIZE: {
            const int old = s.pageSize;
            s.pageSize = value;
            return old;
        }
        case TBM_SETTICFREQ:
        case TBM_CLEARTICS:
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_LBUTTONDOWN:
            SetFocus(w.handle);
            if (!Find(w.handle)) return 0;
            s.dragging = true;
            SetCapture(w.handle);
            return 0;
        case WM_MOUSEMOVE: {
            if (!s.dragging) return 0;
            const int target =
                s.dragTarget ? Clamped(s, *s.dragTarget) : PositionFromPoint(w, lParam);
            s.dragTarget.reset();
            if (target == s.position) return 0;
            s.position = target;
            Notify(w, TB_THUMBTRACK, target);
            return 0;
        }
        case WM_LBUTTONUP: {
            if (!s.dragging) return 0;
            const HWND self = w.handle;
            Notify(w, TB_THUMBPOSITION, s.position);
            if (Find(self)) Notify(w, TB_ENDTRACK);
            if (!Find(self)) return 0;
            s.dragging = false;
            if (GetCapture() == self) ReleaseCapture();
            if (Find(self)) NotifyParent(w, NM_RELEASEDCAPTURE);
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (s.dragging && reinterpret_cast<HWND>(lParam) != w.handle) {
                s.dragging = false;
                Notify(w, TB_ENDTRACK);
            }
            return 0;
        case WM_KEYDOWN:
            Step(w, static_cast<UINT>(wParam));
            return 0;
        case WM_KEYUP:
            switch (wParam) {
                case VK_LEFT:
                case VK_UP:
                case VK_RIGHT:
                case VK_DOWN:
                case VK_HOME:
                case VK_END:
                    Notify(w, TB_ENDTRACK);
                    break;
                default:
                    break;
            }
            return 0;
        default:
            return DefWindowProcImpl(w, message, wParam, lParam);
    }
}

}  // namespace ui::headless
