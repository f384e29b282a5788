// Recursive critical section and a sleep in milliseconds.
#pragma once

#include <cstdint>
#include <mutex>

namespace plat {

// A recursive lock, as the platform's critical section: the owning thread may enter again.
// Usable with std::lock_guard / std::unique_lock / std::scoped_lock.
class CriticalSection {
public:
    void Lock() { m_mutex.lock(); }
    void Unlock() { m_mutex.unlock(); }
    bool TryLock() { return m_mutex.try_lock(); }

    void lock() { m_mutex.lock(); }
    void unlock() { m_mutex.unlock(); }
    bool try_lock() { return m_mutex.try_lock(); }

private:
    std::recursive_mutex m_mutex;
};

void SleepMs(uint32_t milliseconds);

}  // namespace plat
