// The simulated serial link: delays from the characters a call sends and receives.
#include "Link.h"

#include <thread>

namespace pfsim {
namespace {

// A character on the simulated serial link: start bit, 8 data bits, stop bit.
constexpr int64_t kBitsPerChar = 10;
// Framing around each request and reply (command prefix, line end).
constexpr size_t kFramingChars = 2;

}  // namespace

std::chrono::microseconds LinkDelay(int32_t baud, const std::vector<std::string>& args,
                                    std::string_view answer) {
    size_t chars = 2 * kFramingChars + answer.size();
    for (size_t i = 1; i < args.size(); ++i) chars += args[i].size() + (i > 1 ? 1 : 0);
    return std::chrono::microseconds(static_cast<int64_t>(chars) * kBitsPerChar * 1'000'000 / baud);
}

// Some platforms' sleeps end a little early, so sleep again until the whole delay has passed:
// a link is never faster than its baud rate.
void SleepFor(std::chrono::microseconds delay) {
    if (delay.count() <= 0) return;
    const auto until = std::chrono::steady_clock::now() + delay;
    for (auto now = std::chrono::steady_clock::now(); now < until;
         now = std::chrono::steady_clock::now()) {
        std::this_thread::sleep_for(until - now);
    }
}

}  // namespace pfsim
