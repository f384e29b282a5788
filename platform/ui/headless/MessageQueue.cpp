// The per-thread message queue, its pump, the manual and real-time clocks, timers and the
// process-wide registered-message table.
#include <algorithm>
#include <chrono>
#include <cwctype>
#include <unordered_map>

#include "Internal.h"

namespace ui::headless {
namespace {

std::uint64_t SteadyMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The earliest timer due no later than `limit`; ties go to the timer set first.
Timer* EarliestDue(ThreadState& ts, std::uint64_t limit) {
    Timer* best = nullptr;
    for (Timer& t : ts.timers) {
        if (t.due > limit) continue;
        if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
    }
    return best;
}

bool FireDueTimer(ThreadState& ts) {
    const std::uint64_t now = Now(ts);
    Timer* t = EarliestDue(ts, now);
    if (!t) return false;
    const HWND hwnd = t->hwnd;
    const UINT_PTR id = t->id;
    // Re-armed before the handler runs, so that setting it again there counts from now.
    t->due = now + t->elapse;
    Deliver(hwnd, WM_TIMER, id, 0);
    return true;
}

bool PopPosted(ThreadState& ts, MSG* out) {
    std::lock_guard lock(ts.mutex);
    if (ts.posted.empty()) return false;
    *out = ts.posted.front();
    ts.posted.pop_front();
    return true;
}

struct MessageNames {
    std::mutex mutex;
    std::unordered_map<std::wstring, UINT> numbers;
};

MessageNames& TheMessageNames() {
    static MessageNames* names = new MessageNames;  // usable from any static initialiser
    return *names;
}

}  // namespace

std::shared_ptr<ThreadState> CurrentThread() {
    thread_local std::shared_ptr<ThreadState> state = [] {
        auto s = std::make_shared<ThreadState>();
        s->realStart = SteadyMs();
        return s;
    }();
    return state;
}

std::uint64_t Now(ThreadState& thread) {
    return thread.manualClock ? thread.manualNow : SteadyMs() - thread.realStart;
}

}  // namespace ui::headless

namespace ui {

using headless::CurrentThread;
using headless::Find;

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto w = Find(hwnd);
    if (!w) return false;
    headless::ThreadState& ts = *w->thread;
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    {
        std::lock_guard lock(ts.mutex);
        ts.posted.push_back(msg);
    }
    ts.wake.notify_all();
    return true;
}

std::size_t PumpMessages() {
    auto ts = CurrentThread();
    std::size_t ran = 0;
    for (;;) {
        MSG msg;
        if (headless::PopPosted(*ts, &msg)) {
            if (Find(msg.hwnd)) {
                headless::Deliver(msg.hwnd, msg.message, msg.wParam, msg.lParam);
                ++ran;
            }
            continue;
        }
        if (headless::FireDueTimer(*ts)) {
            ++ran;
            continue;
        }
        return ran;
    }
}

void UseManualClock() {
    auto ts = CurrentThread();
    if (ts->manualClock) return;
    ts->manualNow = headless::Now(*ts);
    ts->manualClock = true;
}

void UseRealTimeClock() {
    auto ts = CurrentThread();
    if (!ts->manualClock) return;
    ts->realStart = headless::SteadyMs() - ts->manualNow;
    ts->manualClock = false;
}

bool IsManualClock() {
    return CurrentThread()->manualClock;
}

void AdvanceClock(std::uint32_t milliseconds) {
    auto ts = CurrentThread();
    if (!ts->manualClock) {
        PumpMessages();
        return;
    }
    const std::uint64_t target = ts->manualNow + milliseconds;
    PumpMessages();
    while (headless::Timer* next = headless::EarliestDue(*ts, target)) {
        ts->manualNow = std::max(ts->manualNow, next->due);
        PumpMessages();
    }
    ts->manualNow = target;
    PumpMessages();
}

std::uint64_t GetTickCount64() {
    return headless::Now(*CurrentThread());
}

DWORD GetTickCount() {
    return static_cast<DWORD>(GetTickCount64());
}

bool WaitMessage(std::uint32_t timeoutMilliseconds) {
    auto ts = CurrentThread();
    auto ready = [&] {
        return !ts->posted.empty() || headless::EarliestDue(*ts, headless::Now(*ts)) != nullptr;
    };
    std::unique_lock lock(ts->mutex);
    if (ready() || ts->manualClock) return ready();
    std::uint64_t deadline = headless::Now(*ts) + timeoutMilliseconds;
    for (const headless::Timer& t : ts->timers) deadline = std::min(deadline, t.due);
    const auto wakeAt =
        std::chrono::steady_clock::time_point(std::chrono::milliseconds(ts->realStart + deadline));
    ts->wake.wait_until(lock, wakeAt, [&] { return !ts->posted.empty(); });
    return ready();
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse) {
    auto w = Find(hwnd);
    if (!w) return 0;
    headless::ThreadState& ts = *w->thread;
    elapse = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    const std::uint64_t due = headless::Now(ts) + elapse;
    auto it = std::find_if(ts.timers.begin(), ts.timers.end(),
                           [&](const headless::Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == ts.timers.end()) {
        ts.timers.push_back(headless::Timer{hwnd, id, elapse, due, ++ts.timerOrder});
    } else {
        it->elapse = elapse;
        it->due = due;
        it->order = ++ts.timerOrder;
    }
    return id ? id : 1;
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
    auto w = Find(hwnd);
    if (!w) return false;
    return std::erase_if(w->thread->timers, [&](const headless::Timer& t) {
               return t.hwnd == hwnd && t.id == id;
           }) > 0;
}

UINT RegisterWindowMessage(const wchar_t* name) {
    if (!name || !*name) return 0;
    std::wstring key(name);
    for (wchar_t& c : key) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    headless::MessageNames& names = headless::TheMessageNames();
    std::lock_guard lock(names.mutex);
    auto it = names.numbers.find(key);
    if (it != names.numbers.end()) return it->second;
    const std::size_t count = names.numbers.size();
    if (count > kRegisteredMessageLast - kRegisteredMessageFirst) return 0;
    const UINT number = kRegisteredMessageFirst + static_cast<UINT>(count);
    names.numbers.emplace(std::move(key), number);
    return number;
}

}  // namespace ui
