// The per-thread message queue, its pump, the manual and real-time clocks, timers and the
// process-wide registered-message table.
#include <algorithm>
#include <chrono>
#include <unordered_map>

#include "Internal.h"

namespace ui::headless {
namespace {

bool FireDueTimer(ThreadState& ts) {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    if (!ts.clock.TakeDue(&hwnd, &id)) return false;
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
    thread_local std::shared_ptr<ThreadState> state = std::make_shared<ThreadState>();
    return state;
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
    std::lock_guard lock(ts.mutex);
    ts.posted.push_back(msg);
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

void AdvanceClock(std::uint32_t milliseconds) {
    auto ts = CurrentThread();
    const std::uint64_t target = ts->clock.Now() + milliseconds;
    PumpMessages();
    while (ts->clock.MoveToNextDue(target)) PumpMessages();
    ts->clock.MoveTo(target);
    PumpMessages();
}

std::uint64_t GetTickCount64() {
    return CurrentThread()->clock.Now();
}

DWORD GetTickCount() {
    return static_cast<DWORD>(GetTickCount64());
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse) {
    auto w = Find(hwnd);
    return w ? w->thread->clock.Set(hwnd, id, elapse) : 0;
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
    auto w = Find(hwnd);
    return w && w->thread->clock.Kill(hwnd, id);
}

UINT RegisterWindowMessage(const wchar_t* name) {
    if (!name || !*name) return 0;
    std::wstring key = plat::AsciiUpper(name);
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
