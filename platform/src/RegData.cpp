// Value data as the registry keeps it.
#include "RegData.h"

#include <type_traits>

namespace plat::reg::data {

namespace {

void PutUnit(Bytes& out, uint32_t unit) {
    out.push_back(static_cast<uint8_t>(unit & 0xFF));
    out.push_back(static_cast<uint8_t>(unit >> 8));
}

}  // namespace

Bytes FromText(std::wstring_view text) {
    Bytes out;
    out.reserve((text.size() + 1) * 2);
    for (const wchar_t w : text) {
        auto c = static_cast<uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(w));
        if (c > 0x10FFFF) c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            PutUnit(out, 0xD800 + (c >> 10));
            PutUnit(out, 0xDC00 + (c & 0x3FF));
        } else {
            PutUnit(out, c);
        }
    }
    PutUnit(out, 0);
    return out;
}

std::wstring ToText(std::span<const uint8_t> bytes) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    const size_t units = bytes.size() / 2;
    auto unit = [&](size_t i) { return uint32_t{bytes[2 * i]} | uint32_t{bytes[2 * i + 1]} << 8; };
    for (size_t i = 0; i < units; ++i) {
        uint32_t c = unit(i);
        if constexpr (sizeof(wchar_t) == 4) {
            // A pair is one character; a lone surrogate stays as it is.
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
                unit(i + 1) <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
                ++i;
            }
        }
        text.push_back(static_cast<wchar_t>(c));
    }
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

bool IsPlainText(std::span<const uint8_t> bytes, std::wstring* text) {
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || bytes[bytes.size() - 2] != 0 ||
        bytes.back() != 0)
        return false;
    std::wstring decoded = ToText(bytes);
    const Bytes again = FromText(decoded);
    if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end())) return false;
    *text = std::move(decoded);
    return true;
}

Bytes FromDword(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

bool ToDword(std::span<const uint8_t> bytes, uint32_t* value) {
    if (bytes.size() != 4) return false;
    *value = uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
             uint32_t{bytes[3]} << 24;
    return true;
}

}  // namespace plat::reg::data
