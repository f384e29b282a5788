// One thread's manual clock and the framework's timers on it, shared by the
// backends: each delivers the WM_TIMER messages this schedule says are due. Private to
// platform/ui.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/Types.h"

namespace ui::detail {

class TimerSchedule {
public:
    std::uint64_t Now() const { return m_now; }

    // Sets or restarts the timer (the elapse clamped to the platform's limits); answers the
    // id to report, never 0.
    UINT_PTR Set(HWND hwnd, UINT_PTR id, UINT elapse);
    bool Kill(HWND hwnd, UINT_PTR id);
    void Forget(HWND hwnd);

    // The timer due earliest by now (ties to the one set first), re-armed from now before its
    // message is delivered, so that setting it again in the handler counts from then.
    bool TakeDue(HWND* hwnd, UINT_PTR* id);
    // Moves on to the earliest timer due no later than `target`, if any.
    bool MoveToNextDue(std::uint64_t target);
    void MoveTo(std::uint64_t target) { m_now = target; }

private:
    struct Timer {
        HWND hwnd = nullptr;
        UINT_PTR id = 0;
        UINT elapse = 0;
        std::uint64_t due = 0;
        std::uint64_t order = 0;  // breaks ties between timers due at the same time
    };
    Timer* EarliestDue(std::uint64_t limit);

    std::vector<Timer> m_timers;
    std::uint64_t m_order = 0;
    std::uint64_t m_now = 0;
};

}  // namespace ui::detail
