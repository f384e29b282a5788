// The bytes the registry keeps for a value: text as UTF-16LE with its terminating NUL, numbers
// in little-endian order.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plat::reg::data {

using Bytes = std::vector<uint8_t>;

// UTF-16LE code units of the text (characters beyond U+FFFF as pairs, a lone surrogate as it
// is), then the terminating NUL.
Bytes FromText(std::wstring_view text);
// The text of string data, one terminating NUL dropped, as the platform's registry reads it; an
// odd last byte is left out.
std::wstring ToText(std::span<const uint8_t> bytes);
// Whether the bytes are exactly the data FromText makes of some text: then `text` holds it.
bool IsPlainText(std::span<const uint8_t> bytes, std::wstring* text);

Bytes FromDword(uint32_t value);
// A four-byte number; false for data of another size.
bool ToDword(std::span<const uint8_t> bytes, uint32_t* value);

}  // namespace plat::reg::data
