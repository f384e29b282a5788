// UTF-8 and wide text for the host's files and output, and the host's number format.
#pragma once

#include <string>
#include <string_view>

namespace host {

// Wide text as UTF-8; a character that is no Unicode scalar value becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);
// UTF-8 as wide text; a byte that does not decode becomes U+FFFD.
std::wstring FromUtf8(std::string_view text);

// A camera value as a person writes it: the shortest text that reads back as the same value,
// taken at single precision when the value is one (0.123, not 0.12300000339746475); integers
// in decimal.
std::string FormatNumber(double value);

}  // namespace host
