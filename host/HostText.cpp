// The host's number format for camera values.
#include "HostText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace host {

std::string FormatNumber(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buffer[64];
    std::to_chars_result result{};
    if (std::trunc(value) == value && std::fabs(value) < 9.0e15) {
        result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<int64_t>(value));
    } else if (std::fabs(value) <= std::numeric_limits<float>::max() &&
               static_cast<double>(static_cast<float>(value)) == value) {
        result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
    } else {
        result = std::to_chars(buffer, buffer + sizeof buffer, value);
    }
    return std::string(buffer, result.ptr);
}

}  // namespace host
