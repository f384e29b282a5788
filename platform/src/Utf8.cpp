// UTF-8 encoding and decoding of wide text.
#include "platform/Utf8.h"

#include <cstddef>
#include <type_traits>

namespace plat {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

void PutCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

void PutWide(std::wstring& out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(c));
}

// The lead byte's payload, how many continuation bytes follow and the least code point that
// length may encode (anything less is overlong); false for a byte that cannot lead.
bool ReadLead(unsigned char b, char32_t* c, size_t* extra, char32_t* least) {
    if ((b & 0xE0) == 0xC0) {
        *c = b & 0x1F, *extra = 1, *least = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        *c = b & 0x0F, *extra = 2, *least = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        *c = b & 0x07, *extra = 3, *least = 0x10000;
    } else {
        return false;
    }
    return true;
}

}  // namespace

void AppendUtf8(std::string& out, std::wstring_view text, Surrogates surrogates) {
    for (size_t i = 0; i < text.size(); ++i) {
        // wchar_t may be signed; its bits are the code unit.
        char32_t c = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i]));
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
                const char32_t low = static_cast<char16_t>(text[i + 1]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if (c > 0x10FFFF || (IsSurrogate(c) && surrogates == Surrogates::Replace)) c = kReplacement;
        PutCodePoint(out, c);
    }
}

std::string ToUtf8(std::wstring_view text, Surrogates surrogates) {
    std::string out;
    out.reserve(text.size());
    AppendUtf8(out, text, surrogates);
    return out;
}

std::wstring FromUtf8(std::string_view text, Surrogates surrogates) {
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        char32_t c = 0;
        size_t extra = 0;
        char32_t least = 0;
        if (!ReadLead(lead, &c, &extra, &least)) {
            PutWide(out, kReplacement);
            ++i;
            continue;
        }
        size_t j = 1;
        for (; j <= extra && i + j < text.size(); ++j) {
            const auto next = static_cast<unsigned char>(text[i + j]);
            if ((next & 0xC0) != 0x80) break;
            c = (c << 6) | (next & 0x3F);
        }
        const bool complete = j == extra + 1;
        if (!complete || c < least || c > 0x10FFFF ||
            (IsSurrogate(c) && surrogates == Surrogates::Replace)) {
            c = kReplacement;
        }
        PutWide(out, c);
        i += j;
    }
    return out;
}

}  // namespace plat
