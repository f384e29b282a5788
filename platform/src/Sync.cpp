// The millisecond sleep.
#include "platform/Sync.h"

#include <chrono>
#include <thread>

namespace plat {

void SleepMs(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace plat
