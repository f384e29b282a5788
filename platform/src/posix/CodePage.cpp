// Code-page conversion with the C library's multibyte functions under the thread's locale.
#include <langinfo.h>

#include <array>
#include <climits>
#include <cstring>
#include <cwchar>

#include "platform/Text.h"

namespace plat {
namespace {

// Whether the thread's code page keeps every ASCII byte as the character of its own number,
// without shift states: UTF-8 and ASCII itself (the C locale).
bool AsciiStandsForItself() {
    const char* codeset = nl_langinfo(CODESET);
    return std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "ANSI_X3.4-1968") == 0;
}

// Appends the ASCII bytes from `i` on as they are and answers where they end. Port texts and
// property names are ASCII, and the C library's conversion, a call per byte, cost more than all
// else in a refresh of many long-described ports.
size_t AppendAscii(std::string_view text, size_t i, std::wstring& out) {
    const size_t from = i;
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
    out.append(text.begin() + static_cast<std::ptrdiff_t>(from),
               text.begin() + static_cast<std::ptrdiff_t>(i));
    return i;
}

}  // namespace

std::wstring NarrowToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    const bool ascii = AsciiStandsForItself();
    std::mbstate_t state{};
    size_t i = 0;
    while (i < text.size()) {
        if (ascii) {
            i = AppendAscii(text, i, out);
            if (i == text.size()) break;
        }
        wchar_t wc = 0;
        const size_t n = std::mbrtowc(&wc, text.data() + i, text.size() - i, &state);
        if (n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2)) {
            // Invalid or cut-off sequence: keep the byte as the character of the same number.
            out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
            state = std::mbstate_t{};
            ++i;
        } else if (n == 0) {
            out.push_back(L'\0');
            ++i;
        } else {
            out.push_back(wc);
            i += n;
        }
    }
    return out;
}

bool NarrowToWideExact(std::string_view text, std::wstring* out, size_t* bad) {
    std::wstring wide;
    wide.reserve(text.size());
    const bool ascii = AsciiStandsForItself();
    std::mbstate_t state{};
    for (size_t i = 0; i < text.size();) {
        if (ascii) {
            i = AppendAscii(text, i, wide);
            if (i == text.size()) break;
        }
        wchar_t wc = 0;
        const size_t n = std::mbrtowc(&wc, text.data() + i, text.size() - i, &state);
        if (n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2)) {
            *bad = i;
            return false;
        }
        wide.push_back(n == 0 ? L'\0' : wc);
        i += n == 0 ? 1 : n;
    }
    *out = std::move(wide);
    return true;
}

std::string WideToNarrow(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    std::mbstate_t state{};
    std::array<char, MB_LEN_MAX> buf{};
    for (const wchar_t wc : text) {
        const size_t n = std::wcrtomb(buf.data(), wc, &state);
        if (n == static_cast<size_t>(-1)) {
            out.push_back('?');
            state = std::mbstate_t{};
        } else {
            out.append(buf.data(), n);
        }
    }
    // Return a shift-state encoding to its initial state; the terminator itself is dropped.
    const size_t n = std::wcrtomb(buf.data(), L'\0', &state);
    if (n != static_cast<size_t>(-1) && n > 1) out.append(buf.data(), n - 1);
    return out;
}

}  // namespace plat
