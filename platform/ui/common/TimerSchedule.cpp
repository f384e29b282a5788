// The clock and timers of one thread.
#include "TimerSchedule.h"

#include <algorithm>

#include "ui/Messages.h"

namespace ui::detail {

UINT_PTR TimerSchedule::Set(HWND hwnd, UINT_PTR id, UINT elapse) {
    elapse = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    const std::uint64_t due = Now() + elapse;
    auto it = std::find_if(m_timers.begin(), m_timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == m_timers.end()) {
        m_timers.push_back(Timer{hwnd, id, elapse, due, ++m_order});
    } else {
        it->elapse = elapse;
        it->due = due;
        it->order = ++m_order;
    }
    return id ? id : 1;
}

bool TimerSchedule::Kill(HWND hwnd, UINT_PTR id) {
    return std::erase_if(m_timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; }) >
           0;
}

void TimerSchedule::Forget(HWND hwnd) {
    std::erase_if(m_timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

TimerSchedule::Timer* TimerSchedule::EarliestDue(std::uint64_t limit) {
    Timer* best = nullptr;
    for (Timer& t : m_timers) {
        if (t.due > limit) continue;
        if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
    }
    return best;
}

bool TimerSchedule::TakeDue(HWND* hwnd, UINT_PTR* id) {
    const std::uint64_t now = Now();
    Timer* t = EarliestDue(now);
    if (!t) return false;
    *hwnd = t->hwnd;
    *id = t->id;
    t->due = now + t->elapse;
    return true;
}

bool TimerSchedule::MoveToNextDue(std::uint64_t target) {
    const Timer* next = EarliestDue(target);
    if (!next) return false;
    m_now = std::max(m_now, next->due);
    return true;
}

}  // namespace ui::detail
