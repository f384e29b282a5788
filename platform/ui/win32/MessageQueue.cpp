// The pump over the thread's real message queue, the manual and real-time clocks, and the
// framework's timers. Timers are kept here rather than with the platform's SetTimer, whose
// clock cannot be advanced by hand: they fire from the pump, as WM_TIMER to their window.
#include <algorithm>
#include <chrono>
#include <vector>

#include "Win32.h"

namespace ui::win32 {
namespace {

// The timer message the platform uses inside its controls (WM_SYSTIMER, undocumented).
constexpr ::UINT kSystemTimer = 0x0118;

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    std::uint64_t due = 0;
    std::uint64_t order = 0;  // breaks ties between timers due at the same time
};

struct ThreadClock {
    std::vector<Timer> timers;
    std::uint64_t timerOrder = 0;
    bool manual = true;
    std::uint64_t manualNow = 0;
    std::uint64_t realStart = 0;
};

std::uint64_t SteadyMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

ThreadClock& Clock() {
    thread_local ThreadClock clock = [] {
        ThreadClock c;
        c.realStart = SteadyMs();
        return c;
    }();
    return clock;
}

std::uint64_t Now(const ThreadClock& c) {
    return c.manual ? c.manualNow : SteadyMs() - c.realStart;
}

Timer* EarliestDue(ThreadClock& c, std::uint64_t limit) {
    Timer* best = nullptr;
    for (Timer& t : c.timers) {
        if (t.due > limit) continue;
        if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
    }
    return best;
}

bool FireDueTimer(ThreadClock& c) {
    const std::uint64_t now = Now(c);
    Timer* t = EarliestDue(c, now);
    if (!t) return false;
    const HWND hwnd = t->hwnd;
    const UINT_PTR id = t->id;
    if (!::IsWindow(W(hwnd))) {
        ForgetTimers(hwnd);
        return true;
    }
    // Re-armed before the handler runs, so that setting it again there counts from now.
    t->due = now + t->elapse;
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
    std::erase_if(Clock().timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

}  // namespace ui::win32

namespace ui {

using win32::U;
using win32::W;

std::size_t PumpMessages() {
    win32::ThreadClock& clock = win32::Clock();
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

void UseManualClock() {
    win32::ThreadClock& c = win32::Clock();
    if (c.manual) return;
    c.manualNow = win32::Now(c);
    c.manual = true;
}

void UseRealTimeClock() {
    win32::ThreadClock& c = win32::Clock();
    if (!c.manual) return;
    c.realStart = win32::SteadyMs() - c.manualNow;
    c.manual = false;
}

bool IsManualClock() {
    return win32::Clock().manual;
}

void AdvanceClock(std::uint32_t milliseconds) {
    win32::ThreadClock& c = win32::Clock();
    if (!c.manual) {
        PumpMessages();
        return;
    }
    const std::uint64_t target = c.manualNow + milliseconds;
    PumpMessages();
    while (win32::Timer* next = win32::EarliestDue(c, target)) {
        c.manualNow = std::max(c.manualNow, next->due);
        PumpMessages();
    }
    c.manualNow = target;
    PumpMessages();
}

std::uint64_t GetTickCount64() {
    return win32::Now(win32::Clock());
}

DWORD GetTickCount() {
    return static_cast<DWORD>(GetTickCount64());
}

bool WaitMessage(std::uint32_t timeoutMilliseconds) {
    win32::ThreadClock& c = win32::Clock();
    auto ready = [&] {
        ::MSG msg;
        return ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) ||
               win32::EarliestDue(c, win32::Now(c)) != nullptr;
    };
    if (c.manual || ready()) return ready();
    const std::uint64_t end = win32::Now(c) + timeoutMilliseconds;
    // The wait also ends for a message another thread sends, which is handled inside the
    // next look at the queue and leaves nothing to run: then it goes on.
    for (;;) {
        std::uint64_t deadline = end;
        for (const win32::Timer& t : c.timers) deadline = std::min(deadline, t.due);
        const std::uint64_t now = win32::Now(c);
        if (now >= end) return ready();
        const auto wait = static_cast<::DWORD>(deadline > now ? deadline - now : 0);
        ::MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (ready()) return true;
    }
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse) {
    if (!::IsWindow(W(hwnd))) return 0;
    win32::ThreadClock& c = win32::Clock();
    elapse = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    const std::uint64_t due = win32::Now(c) + elapse;
    auto it = std::find_if(c.timers.begin(), c.timers.end(),
                           [&](const win32::Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == c.timers.end()) {
        c.timers.push_back(win32::Timer{hwnd, id, elapse, due, ++c.timerOrder});
        win32::Adopt(hwnd);  // so that its timers go with it
    } else {
        it->elapse = elapse;
        it->due = due;
        it->order = ++c.timerOrder;
    }
    return id ? id : 1;
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
    if (!::IsWindow(W(hwnd))) return false;
    return std::erase_if(win32::Clock().timers,
                         [&](const win32::Timer& t) { return t.hwnd == hwnd && t.id == id; }) > 0;
}

UINT RegisterWindowMessage(const wchar_t* name) {
    if (!name || !*name) return 0;
    return ::RegisterWindowMessageW(name);
}

}  // namespace ui
