// Comparing host timestamps and splitting their distance into parts.
#include <cstdint>

#include "DGrabModule.h"

namespace {

constexpr int64_t kMicrosPerMilli = 1000;
constexpr int64_t kMicrosPerSecond = 1000 * kMicrosPerMilli;

// The instant in microseconds. Every input fits: |major| * 10^6 stays below 2.2 * 10^15, and
// two such values subtract without leaving int64_t.
int64_t ToMicros(int32_t major, uint16_t minorA, uint16_t minorB) {
    return int64_t{major} * kMicrosPerSecond + int64_t{minorA} * kMicrosPerMilli + minorB;
}

}  // namespace

int CompareTimestamps(int32_t major1, uint16_t minor1a, uint16_t minor1b, int32_t major2,
                      uint16_t minor2a, uint16_t minor2b) {
    const int64_t t1 = ToMicros(major1, minor1a, minor1b);
    const int64_t t2 = ToMicros(major2, minor2a, minor2b);
    return t1 < t2 ? -1 : (t1 > t2 ? 1 : 0);
}

bool ComputeTimeDifference(int32_t major1, uint16_t minor1a, uint16_t minor1b, int32_t major2,
                           uint16_t minor2a, uint16_t minor2b, int32_t* dMajor, int16_t* dMinorA,
                           int16_t* dMinorB, bool* negative) {
    const int64_t t1 = ToMicros(major1, minor1a, minor1b);
    const int64_t t2 = ToMicros(major2, minor2a, minor2b);
    const bool isNegative = t1 < t2;
    const uint64_t distance =
        isNegative ? static_cast<uint64_t>(t2 - t1) : static_cast<uint64_t>(t1 - t2);

    uint64_t seconds = distance / kMicrosPerSecond;
    uint64_t millis = distance % kMicrosPerSecond / kMicrosPerMilli;
    uint64_t micros = distance % kMicrosPerMilli;
    const bool fits = seconds <= INT32_MAX;
    if (!fits) {
        seconds = INT32_MAX;
        millis = kMicrosPerMilli - 1;
        micros = kMicrosPerMilli - 1;
    }

    if (dMajor) *dMajor = static_cast<int32_t>(seconds);
    if (dMinorA) *dMinorA = static_cast<int16_t>(millis);
    if (dMinorB) *dMinorB = static_cast<int16_t>(micros);
    if (negative) *negative = isNegative;
    return fits;
}
