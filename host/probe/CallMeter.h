// Counts the camera-library calls of this program (the plug-in's controller included) and the
// characters each property call puts on the serial link.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace inspect {

// The calls since the last Reset.
struct CallTally {
    uint64_t calls = 0;
    // Request and reply characters of each property call, framing included: what crosses the
    // serial link. Port calls (count, descriptions, open, close, errors) cross none.
    std::vector<uint32_t> linkChars;
};

namespace meter {

// Whether this build counts calls; where it cannot, every tally stays empty.
bool Available();
void Reset();
CallTally Tally();
// The answer of the last pfOpenPort and the text of the last pfGetErrorMsg seen.
int32_t LastOpenResult();
std::optional<std::string> LastErrorMessage();

}  // namespace meter

// Link time of these calls at this baud rate: per call (2 + request + 2 + reply characters)
// x 10 bits / baud, in whole microseconds, as the simulated camera library sleeps them.
double LinkMilliseconds(const CallTally& tally, int32_t baud);

}  // namespace inspect
