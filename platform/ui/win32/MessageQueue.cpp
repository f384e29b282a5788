// The pump over the thread's real message queue, the manual clock, and the
// framework's timers. Timers are kept here rather than with the platform's SetTimer, whose
// clock cannot be advanced by hand: they fire from the pump, as WM_TIMER to their window.
#include "../common/TimerSchedule.h"
#include "Win32.h"

namespace ui::win32 {
namespace {

// The timer message the platform uses inside its controls (WM_SYSTIMER, undocumented).
constexpr ::UINT kSystemTimer = 0x0118;

detail::TimerSchedule& Clock() {
    thread_local detail::TimerSchedule clock;
    return clock;
}

bool FireDueTimer(detail::TimerSchedule& clock) {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    if (!clock.TakeDue(&hwnd, &id)) return false;
    if (!::IsWindow(W(hwnd)))
        clock.Forget(hwnd);
    else
        ::SendMessageW(W(hwnd), WM_TIMER, id, 0);
    return true;
}

bool IsKeyboardMessage(::UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

// What a dialog host's message loop does with a message: keyboard input goes through the
// dialog manager of the dialog it is for.
void Dispatch(::MSG& msg) {
    if (IsKeyboardMessage(msg.message)) {
        if (const HWND dialog = InnermostDialog(U(msg.hwnd)))
            if (::IsDialogMessageW(W(dialog), &msg)) return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    // A window that does not paint would be asked again and again.
    if (msg.message == WM_PAINT && msg.hwnd) ::ValidateRect(msg.hwnd, nullptr);
}

}  // namespace

void ForgetTimers(HWND hwnd) {
    Clock().Forget(hwnd);
}

}  // namespace ui::win32

namespace ui {

using win32::U;
using win32::W;

std::size_t PumpMessages() {
    detail::TimerSchedule& clock = win32::Clock();
    std::size_t ran = 0;
    for (;;) {
        ::MSG msg{};
        // Posted messages first and counted; then input, painting and the rest, which a real
        // loop runs as well.
        const bool posted = ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE);
        if (posted || ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that owns it
                return ran;
            }
            win32::Dispatch(msg);
            // EndDialog wakes a modal loop with WM_NULL, which is no work of anyone's; the
            // platform's own timers (a caret's blinking, a control's repeat) are the controls'
            // business, not the framework's.
            if (posted && msg.message != WM_NULL && msg.message != WM_TIMER &&
                msg.message != win32::kSystemTimer)
                ++ran;
            continue;
        }
        if (win32::FireDueTimer(clock)) {
            ++ran;
            continue;
        }
        return ran;
    }
}

void AdvanceClock(std::uint32_t milliseconds) {
    detail::TimerSchedule& c = win32::Clock();
    const std::uint64_t target = c.Now() + milliseconds;
    PumpMessages();
    while (c.MoveToNextDue(target)) PumpMessages();
    c.MoveTo(target);
    PumpMessages();
}

std::uint64_t GetTickCount64() {
    return win32::Clock().Now();
}

DWORD GetTickCount() {
    return static_cast<DWORD>(GetTickCount64());
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse) {
    if (!::IsWindow(W(hwnd))) return 0;
    win32::Adopt(hwnd);  // so that its timers go with it
    return win32::Clock().Set(hwnd, id, elapse);
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
    return ::IsWindow(W(hwnd)) && win32::Clock().Kill(hwnd, id);
}

UINT RegisterWindowMessage(const wchar_t* name) {
    if (!name || !*name) return 0;
    return ::RegisterWindowMessageW(name);
}

}  // namespace ui
