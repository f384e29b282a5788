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

// A property read or write as the journal keeps it.
struct PropertyCall {
    std::string name;
    bool write = false;
    bool real = false;   // through the real-valued call
    double value = 0.0;  // written, or answered
    int32_t code = 0;    // a write's answer; a read through pfGetCameraPropertyInt: its answer
};

namespace meter {

// Whether this build counts calls; where it cannot, every tally stays empty.
bool Available();
void Reset();
CallTally Tally();
// The answer of the last pfOpenPort and the text of the last pfGetErrorMsg seen.
int32_t LastOpenResult();
// Keeps every property read and write from now on, until Journal(false).
void Journal(bool on);
std::vector<PropertyCall> TakeJournal();
std::optional<std::string> LastErrorMessage();

}  // namespace meter

// Link time of these calls at this baud rate: per call (2 + request + 2 + reply characters)
// x 10 bits / baud, in whole microseconds, as the simulated camera library sleeps them.
double LinkMilliseconds(const CallTally& tally, int32_t baud);

}  // namespace inspect
