// The simulated serial link between frame grabber and camera: what each property call costs.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pfsim {

// The time a call takes on a link of `baud` (greater than 0): request = the logged arguments
// after the port joined by one separator, reply = the logged answer, each with two framing
// characters, ten bits a character.
std::chrono::microseconds LinkDelay(int32_t baud, const std::vector<std::string>& args,
                                    std::string_view answer);

// Waits at least `delay` by the steady clock.
void SleepFor(std::chrono::microseconds delay);

}  // namespace pfsim
