// The host's number format for camera values.
#pragma once

#include <string>

namespace host {

// A camera value as a person writes it: the shortest text that reads back as the same value,
// taken at single precision when the value is one (0.123, not 0.12300000339746475); integers
// in decimal.
std::string FormatNumber(double value);

}  // namespace host
